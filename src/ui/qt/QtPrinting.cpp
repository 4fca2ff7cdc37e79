#include "QtPrinting.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QtDebug>

namespace qlmib::ui::qt {

QtPrinting* LoadedPrinting() {
    static QtPrinting* const printing = [] () -> QtPrinting* {
        // Beside the program, in the build tree and where it is installed. Kept loaded to the end.
        QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/" QLMIB_QT_PRINTING_MODULE));
        const auto entry = reinterpret_cast<decltype(&qlmib_qt_printing)>(module.resolve("qlmib_qt_printing"));
        if (!entry) {
            qWarning("Printing is not available: %s", qPrintable(module.errorString()));
            return nullptr;
        }
        return entry();
    }();
    return printing;
}

}  // namespace qlmib::ui::qt
