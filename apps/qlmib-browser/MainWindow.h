#pragma once
// The browser's main window: the MIB tree with its find box on the left;
// on the right the current object's details above the live tabs; the agent
// bar, the menus and the status bar. Restores its state from the settings
// store and saves it when it closes.
//
// The tree pane is built first and painted alone; the rest of the window is
// built in the turn after that first paint, or at once when something needs it.

#include <QMainWindow>
#include <memory>
#include <optional>

#include <qlmib/common/Event.h>

#include "AgentTarget.h"
#include "BrowserState.h"

class QLineEdit;
class QSplitter;
class QAction;

namespace qlmib {
class ManageMIBs;
class MIBTree;
class OIDDetails;
class Settings;
}  // namespace qlmib

namespace qlmib::browser {

class AgentBar;
class ControlDialog;
class ImportDialog;
class ControlHost;
class LiveTabs;
class StatusPanel;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(ControlHost& host, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Builds what the first paint left out (agent bar, details, live tabs,
    // menus, status bar); does nothing once the window is complete.
    void completeWindow();

    // Selects the object that the find box text names; false when none.
    bool findObject(const QString& text);
    // Starts a walk of `agent` at `oid` ("" for the default).
    void walkAgent(const QString& agent, const std::string& oid);
    // The OID of the tree's current node ("" when none).
    std::string currentNode();
    void selectNode(const std::string& oid);
    // Opens the database again (after it was replaced or another was chosen).
    void reloadDatabase();

    // File > Import: shows the progress and report dialog (not modal to the
    // caller) and reloads the tree when the database changed.
    ImportDialog* importFiles(const QStringList& files);
    ControlDialog* manageModules();
    // View > Module tree: the current object's module, on that object; null without one.
    ControlDialog* showModuleTree();
    // Deletes the modules selected in the manager after the user confirmed it.
    void deleteModules(ManageMIBs& manager);
    void copyAs(int selectionFormat);

    MIBTree& tree() { return *tree_; }
    OIDDetails& details() {
        completeWindow();
        return *details_;
    }
    LiveTabs& liveTabs() {
        completeWindow();
        return *tabs_;
    }
    AgentBar& agentBar() {
        completeWindow();
        return *agentBar_;
    }
    StatusPanel& status() {
        completeWindow();
        return *status_;
    }
    QLineEdit& findBox() { return *findBox_; }

Q_SIGNALS:
    // The window is complete: everything but the tree pane has been built.
    void completed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildTreePane();
    void restoreTreePane();
    void buildLiveParts();
    void buildMenus();
    void connectActions();
    void restoreLiveParts();
    void restoreFocusOrder();
    // The details and actions follow the tree's current node.
    void followCurrentNode();
    BrowserState currentState() const;
    void updateActions();
    // Reloads the tree from the database; false (and the reason shown) when it cannot be read.
    bool refreshTree();
    void widenTreeColumn();
    // The details pane describes a tree node: no value beside it.
    void showNodeDetails(const std::string& oid);
    void showTreeMenu();
    void chooseImportFiles();
    void previewMIBX();
    void openDatabase();
    void exportCurrent();
    void printCurrent(bool preview);
    void copyCurrent();
    void expandCurrent(bool expand);
    void showSettings();
    void showAbout();
    bool focusInLiveTabs() const;
    void onBusyChanged(bool busy, const QString& what);
    // Shows a failure in the status bar and, for one that needs an answer, in a message box.
    void reportFailure(const QString& text);
    // What the agent bar says to ask, with the chosen profile's SNMPv3
    // security; nullopt, told in the status bar or cancelled, when there is none.
    std::optional<AgentTarget> currentTarget();
    std::string selectedOrDefault();

    ControlHost& host_;
    std::shared_ptr<Settings> settings_;
    BrowserState stored_;
    std::unique_ptr<MIBTree> tree_;
    std::unique_ptr<OIDDetails> details_;
    QLineEdit* findBox_ = nullptr;
    QSplitter* mainSplitter_ = nullptr;
    QSplitter* rightSplitter_ = nullptr;
    LiveTabs* tabs_ = nullptr;
    AgentBar* agentBar_ = nullptr;
    StatusPanel* status_ = nullptr;
    QAction* copyAction_ = nullptr;
    bool tableNode_ = false;
    bool detailsShowValue_ = false;  // the details pane shows a walk row's value
    bool complete_ = false;
    bool completionPosted_ = false;
    Subscription treeSelection_, treeResize_, treeMouse_, walkSelection_;
};

}  // namespace qlmib::browser
