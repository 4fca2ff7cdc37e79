#include "QtPrinting.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QtDebug>

namespace qlmib::ui::qt {

QtPrinting* LoadedPrinting() {
    static QtPrinting* const printing = []() -> QtPrinting* {
        // Beside the program (ours, built or installed), else where it was built
        // (a host that builds the library within its own project). Kept loaded to the end.
        QString failures;
        for (const QString& file : {QCoreApplication::applicationDirPath() + QStringLiteral("/" QLMIB_QT_PRINTING_MODULE),
                                    QStringLiteral(QLMIB_QT_PRINTING_BUILT)}) {
            QLibrary module(file);
            if (const auto entry = reinterpret_cast<decltype(&qlmib_qt_printing)>(module.resolve("qlmib_qt_printing")))
                return entry();
            failures += QStringLiteral("\n  ") + module.errorString();
        }
        qWarning("Printing is not available:%s", qPrintable(failures));
        return nullptr;
    }();
    return printing;
}

}  // namespace qlmib::ui::qt
