// qlmib-browser [--home DIR] [AGENT [OID]]: the desktop MIB browser.

#include <QApplication>
#include <cstdlib>
#include <iostream>

#include <qlmib/mibdata/Version.h>

#include "BrowserOptions.h"
#include "ControlHost.h"
#include "MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qlmib-browser"));
    QApplication::setApplicationDisplayName(QStringLiteral("QLMIBTree Browser"));
    QApplication::setApplicationVersion(QString::fromUtf8(qlmib::kLibraryVersion));
    QApplication::setDesktopFileName(QStringLiteral("qlmib-browser"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("qlmib-browser"), QIcon(QStringLiteral(":/qlmib-browser.svg"))));

    const auto line = qlmib::browser::ParseBrowserOptions(QApplication::arguments());
    if (!line.options) {
        (line.exitStatus == 0 ? std::cout : std::cerr) << line.message;
        return line.exitStatus;
    }
    const auto& options = line.options;
    // The data layer finds the database through $QLMIB_HOME.
    if (!options->home.empty()) setenv("QLMIB_HOME", options->home.c_str(), 1);

    qlmib::browser::ControlHost host;
    qlmib::browser::MainWindow window(host);
    window.show();
    if (!options->agent.empty())
        window.walkAgent(QString::fromStdString(options->agent), options->oid);
    return QApplication::exec();
}
