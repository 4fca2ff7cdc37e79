#include "BrowserStart.h"

#include <QApplication>
#include <QIcon>
#include <cstdlib>
#include <iostream>

#include <qlmib/mibdata/Version.h>

#include "BrowserOptions.h"
#include "ControlHost.h"
#include "MainWindow.h"

// A static library's resources are registered by hand (outside any namespace).
static void InitResources() { Q_INIT_RESOURCE(resources); }

namespace qlmib::browser {

QIcon BrowserIcon() {
    InitResources();
    // PNG renderings of the installed SVG icon: Qt reads PNG itself, SVG only through a plugin
    // that may be missing (Debian's qt6-svg), which would leave the window without an icon.
    QIcon icon;
    icon.addFile(QStringLiteral(":/qlmib-browser-32.png"));
    icon.addFile(QStringLiteral(":/qlmib-browser-128.png"));
    return icon;
}

int RunBrowser(QApplication& app, const std::function<void(MainWindow&)>& shown) {
    QApplication::setApplicationName(QStringLiteral("qlmib-browser"));
    QApplication::setApplicationDisplayName(QStringLiteral("QLMIBTree Browser"));
    QApplication::setApplicationVersion(QString::fromUtf8(kLibraryVersion));
    QApplication::setDesktopFileName(QStringLiteral("qlmib-browser"));

    const auto line = ParseBrowserOptions(QApplication::arguments());
    if (!line.options) {
        (line.exitStatus == 0 ? std::cout : std::cerr) << line.message;
        return line.exitStatus;
    }
    const auto& options = line.options;
    // The data layer finds the database through $QLMIB_HOME.
    if (!options->home.empty()) setenv("QLMIB_HOME", options->home.c_str(), 1);

    ControlHost host;
    MainWindow window(host);
    // Reading the icon loads Qt's image readers: not needed to see the window.
    QObject::connect(&window, &MainWindow::completed, &app, [] { QApplication::setWindowIcon(BrowserIcon()); });
    window.show();
    if (shown) shown(window);
    if (!options->agent.empty()) window.walkAgent(QString::fromStdString(options->agent), options->oid);
    return app.exec();
}

}  // namespace qlmib::browser
