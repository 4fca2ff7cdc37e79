#pragma once
// The desktop host from its command line to its event loop: what main() runs,
// and what the start benchmark runs to time the same start.

#include <functional>

class QApplication;
class QIcon;

namespace qlmib::browser {

class MainWindow;

// The application's icon, for its windows.
QIcon BrowserIcon();

// Names the application, reads the command line, shows the main window (and
// walks the agent given), then runs the event loop; the exit status. `shown`
// is called with the window once it is shown, before the event loop runs.
int RunBrowser(QApplication& app, const std::function<void(MainWindow&)>& shown = {});

}  // namespace qlmib::browser
