#pragma once
// What the window restores at the next start, kept in the user's settings
// store (the library's settings file, replaced atomically on every write).

#include <string>

#include "RecentAgents.h"

namespace qlmib {
class Settings;
}

namespace qlmib::browser {

struct BrowserState {
    std::string geometry;     // QWidget::saveGeometry, base64
    std::string windowState;  // QMainWindow::saveState, base64
    std::string mainSplitter, rightSplitter;  // QSplitter::saveState, base64
    std::string currentNode;  // OID of the tree's current node
    std::string version = "2c";
    RecentAgents agents;

    static BrowserState Load(const Settings& settings);
    // Writes only the values that differ from `stored`.
    void Save(Settings& settings, const BrowserState& stored) const;
};

}  // namespace qlmib::browser
