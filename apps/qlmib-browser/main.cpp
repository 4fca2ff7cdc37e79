// qlmib-browser [--home DIR] [AGENT [OID]]: the desktop MIB browser.

#include <QApplication>

#include "BrowserStart.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return qlmib::browser::RunBrowser(app);
}
