// The main window's menus and the tree's pop-up menu, and what their entries do.

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include <qlmib/common/Error.h>
#include <qlmib/export/ExportEngine.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>
#include <qlmib/mibdata/Version.h>
#include <qlmib/mibx/MIBXTree.h>
#include <qlmib/mibx/ManageMIBs.h>
#include <qlmib/snmp/LiveControl.h>
#include <qlmib/tree/MIBTree.h>
#include <qlmib/tree/OIDDetails.h>
#include <qlmib/tree/SingleMIBTree.h>

#include "AgentBar.h"
#include "ControlDialog.h"
#include "ControlHost.h"
#include "ImportDialog.h"
#include "ImportJob.h"
#include "LiveTabs.h"
#include "MainWindow.h"
#include "SettingsDialog.h"
#include "StatusPanel.h"

namespace qlmib::browser {

namespace {

// The eleven selection formats, in their numeric order.
const char* const kSelectionFormats[] = {
    "Text",         "OID list",           "Names and OIDs",      "OIDs and names", "MIB tree",    "Full names",
    "Full names and OIDs", "OIDs and full names", "Long names", "C defines",     "VB constants",
};

QAction* add(QMenu* menu, const QString& text, const QKeySequence& key = {}) {
    auto* action = menu->addAction(text);
    action->setShortcut(key);
    return action;
}

void addCopyAsMenu(QMenu* menu, MainWindow* window) {
    auto* copyAs = menu->addMenu(QStringLiteral("Copy &as"));
    for (int format = 0; format < static_cast<int>(std::size(kSelectionFormats)); ++format)
        QObject::connect(copyAs->addAction(QString::fromUtf8(kSelectionFormats[format])), &QAction::triggered, window,
                         [window, format] { window->copyAs(format); });
}

// Reloads the module list and shows the current module's details: the
// control itself shows them only when its current row changes, which a
// reload does not do.
void refreshModules(ManageMIBs& manager) {
    manager.Refresh();
    const auto row = manager.getRow();
    manager.setRow(0);
    // The row keeps its place after a deletion, on the module that followed, or the last one.
    manager.setRow(std::min(std::max(row, 1), manager.getMIBCount()));
}

// What File > Export... writes: the save dialog's file types and the export engine's methods.
struct ExportFormat {
    const char* filter;
    const char* extension;
    const char* method;
};
constexpr ExportFormat kExportFormats[] = {
    {"Comma-separated values (*.csv)", "csv", "CSV"}, {"Web page (*.html)", "html", "HTML"},
    {"Rich text (*.rtf)", "rtf", "RTF"},               {"Plain text (*.txt)", "txt", "TXT"},
    {"PDF document (*.pdf)", "pdf", "PDF"},
};
constexpr int kStatusMessageMs = 8000;

}  // namespace

void MainWindow::buildMenus() {
    auto* file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(add(file, QStringLiteral("&Import MIB files…"), QKeySequence(Qt::CTRL | Qt::Key_I)), &QAction::triggered,
            this, &MainWindow::chooseImportFiles);
    connect(add(file, QStringLiteral("&Manage modules…"), QKeySequence(Qt::CTRL | Qt::Key_M)), &QAction::triggered,
            this, &MainWindow::manageModules);
    connect(add(file, QStringLiteral("Pre&view MIB-X file…")), &QAction::triggered, this, &MainWindow::previewMIBX);
    connect(add(file, QStringLiteral("&Open MIB database…"), QKeySequence::Open), &QAction::triggered, this,
            &MainWindow::openDatabase);
    file->addSeparator();
    connect(add(file, QStringLiteral("&Export…"), QKeySequence(Qt::CTRL | Qt::Key_E)), &QAction::triggered, this,
            &MainWindow::exportCurrent);
    connect(add(file, QStringLiteral("&Print…"), QKeySequence::Print), &QAction::triggered, this,
            [this] { printCurrent(false); });
    connect(add(file, QStringLiteral("Print pre&view…")), &QAction::triggered, this, [this] { printCurrent(true); });
    file->addSeparator();
    connect(add(file, QStringLiteral("&Quit"), QKeySequence::Quit), &QAction::triggered, this, &QWidget::close);

    auto* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    copyAction_ = add(edit, QStringLiteral("&Copy"), QKeySequence::Copy);
    // The grids and the details take Ctrl+C themselves while they have the focus.
    copyAction_->setShortcutContext(Qt::WidgetShortcut);
    connect(copyAction_, &QAction::triggered, this, &MainWindow::copyCurrent);
    addCopyAsMenu(edit, this);
    edit->addSeparator();
    connect(add(edit, QStringLiteral("&Find…"), QKeySequence::Find), &QAction::triggered, this,
            [this] { tree_->SearchMIBTree(); });
    connect(add(edit, QStringLiteral("Find in &tree"), QKeySequence(Qt::CTRL | Qt::Key_L)), &QAction::triggered, this,
            [this] {
                findBox_->setFocus();
                findBox_->selectAll();
            });

    auto* view = menuBar()->addMenu(QStringLiteral("&View"));
    connect(add(view, QStringLiteral("&Module tree of the current object")), &QAction::triggered, this,
            &MainWindow::showModuleTree);
    connect(add(view, QStringLiteral("&Expand node"), QKeySequence(Qt::CTRL | Qt::Key_Plus)), &QAction::triggered,
            this, [this] { expandCurrent(true); });
    connect(add(view, QStringLiteral("&Collapse node"), QKeySequence(Qt::CTRL | Qt::Key_Minus)), &QAction::triggered,
            this, [this] { expandCurrent(false); });
    auto* oids = add(view, QStringLiteral("Show &OIDs in the tree"));
    oids->setCheckable(true);
    oids->setChecked(tree_->getOIDsVisible());
    connect(oids, &QAction::toggled, this, [this](bool on) { tree_->setOIDsVisible(on); });
    view->addSeparator();
    view->addAction(agentBar_->toggleViewAction());

    auto* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    connect(add(tools, QStringLiteral("&Settings…")), &QAction::triggered, this, &MainWindow::showSettings);

    auto* help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(add(help, QStringLiteral("&About")), &QAction::triggered, this, &MainWindow::showAbout);
    // Built after the window was shown: shown now, so that its shortcuts work at once.
    menuBar()->show();
}

void MainWindow::showTreeMenu() {
    const auto oid = currentNode();
    if (oid.empty()) return;
    QMenu menu(this);
    const bool haveAgent = !agentBar_->agent().isEmpty() && !tabs_->busy();
    auto* walk = menu.addAction(QStringLiteral("&Walk from here"), this, [this, oid] { tabs_->walk(oid); });
    auto* next = menu.addAction(QStringLiteral("Get &next"), this, [this, oid] { tabs_->get(oid); });
    auto* table = menu.addAction(QStringLiteral("Open as &table"), this, [this, oid] { tabs_->openTable(oid); });
    walk->setEnabled(haveAgent);
    next->setEnabled(haveAgent);
    table->setEnabled(!agentBar_->agent().isEmpty() && tableNode_);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Show &details window"), this, [this, oid] { tree_->PopupOIDDetails(oid); });
    addCopyAsMenu(&menu, this);
    menu.addSeparator();
    // The tree has the focus: its node's details are printed.
    menu.addAction(QStringLiteral("&Print…"), this, [this] { printCurrent(false); });
    menu.exec(QCursor::pos());
}

void MainWindow::copyAs(int selectionFormat) {
    QApplication::clipboard()->setText(
        QString::fromStdString(tree_->getSelection(static_cast<MIBSelectionType>(selectionFormat))));
}

bool MainWindow::focusInLiveTabs() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && tabs_->isAncestorOf(focus);
}

void MainWindow::copyCurrent() {
    if (focusInLiveTabs())
        QApplication::clipboard()->setText(QString::fromStdString(tabs_->currentControl().getSelection()));
    else
        copyAs(MIBSelection_Text);
}

void MainWindow::chooseImportFiles() {
    const auto files = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Import MIB files"), {},
        QStringLiteral("MIB files (*.mib *.my *.txt *.smi *.mibx *.xml);;MIB-X files (*.mibx *.xml);;All files (*)"));
    if (!files.isEmpty()) importFiles(files);
}

ImportDialog* MainWindow::importFiles(const QStringList& files) {
    completeWindow();
    const QString compiler = QApplication::applicationDirPath() + QStringLiteral("/qlmib");
    auto* job = new ImportJob(files, QString::fromStdString(DatabasePath()), compiler, this);
    auto* dialog = new ImportDialog(*job, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QObject::destroyed, job, &QObject::deleteLater);
    connect(job, &ImportJob::finished, this, [this, job] {
        if (job->report().committed) {
            reloadDatabase();
            status_->setLastError({});
        } else {
            status_->setLastError(job->report().cancelled ? QStringLiteral("Import cancelled; nothing was changed.")
                                                          : job->report().failure);
        }
    });
    dialog->open();
    job->start();
    return dialog;
}

ControlDialog* MainWindow::manageModules() {
    auto manager = std::make_unique<ManageMIBs>(host_.toolkit());
    auto* managerPtr = manager.get();
    auto* dialog = new ControlDialog(host_, std::move(manager), QStringLiteral("Manage modules"), this);
    dialog->setObjectName(QStringLiteral("ManageModules"));
    auto* remove = dialog->buttons().addButton(QStringLiteral("&Delete…"), QDialogButtonBox::ActionRole);
    connect(remove, &QPushButton::clicked, this, [this, managerPtr] { deleteModules(*managerPtr); });
    refreshModules(*managerPtr);
    dialog->show();
    return dialog;
}

void MainWindow::deleteModules(ManageMIBs& manager) {
    const auto module = QString::fromStdString(manager.getSelectedMIB());
    if (module.isEmpty()) return;
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Delete modules"),
        QStringLiteral("Delete the selected modules (%1) and all their objects from the MIB database?").arg(module),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) return;
    try {
        manager.DeleteSelectedMIBs();
    } catch (const Error& e) {
        QMessageBox::warning(this, QStringLiteral("Delete modules"),
                             QStringLiteral("The modules could not be deleted: %1\nThe MIB database was not changed.")
                                 .arg(QString::fromStdString(e.Description())));
        return;
    }
    refreshModules(manager);
    reloadDatabase();
}

void MainWindow::previewMIBX() {
    const auto file = QFileDialog::getOpenFileName(this, QStringLiteral("Preview MIB-X file"), {},
                                                   QStringLiteral("MIB-X files (*.mibx *.xml);;All files (*)"));
    if (file.isEmpty()) return;
    auto preview = std::make_unique<MIBXTree>(host_.toolkit());
    preview->setMIBXFilename(file.toStdString());
    auto* dialog = new ControlDialog(host_, std::move(preview), QFileInfo(file).fileName(), this);
    dialog->show();
}

void MainWindow::openDatabase() {
    const auto file = QFileDialog::getOpenFileName(this, QStringLiteral("Open MIB database"),
                                                   QString::fromStdString(InstallFolder()),
                                                   QStringLiteral("MIB database (MIBs.cfg);;All files (*)"));
    if (file.isEmpty()) return;
    if (QFileInfo(file).fileName() != QLatin1String("MIBs.cfg")) {
        QMessageBox::warning(this, QStringLiteral("Open MIB database"),
                             QStringLiteral("A MIB database is a file named MIBs.cfg."));
        return;
    }
    tabs_->stop();
    // The data layer finds the database in the install folder.
    qputenv("QLMIB_HOME", QFileInfo(file).absolutePath().toLocal8Bit());
    CloseSharedDatabase();
    reloadDatabase();
}

void MainWindow::exportCurrent() {
    const QString title = tabs_->tabText(tabs_->currentIndex());
    QStringList filters;
    for (const auto& format : kExportFormats) filters << QString::fromUtf8(format.filter);
    QString chosen = filters.first();
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Export %1").arg(title),
                                                      title + QStringLiteral(".csv"), filters.join(QStringLiteral(";;")),
                                                      &chosen);
    if (file.isEmpty()) return;
    // The file's own extension decides; without a known one, the chosen type.
    const auto suffix = QFileInfo(file).suffix().toLower();
    const auto* format = &kExportFormats[std::max<qsizetype>(filters.indexOf(chosen), 0)];
    for (const auto& f : kExportFormats)
        if (suffix == QLatin1String(f.extension)) format = &f;
    ExportEngine engine(host_.toolkit());
    engine.setTitle(title.toStdString());
    engine.setTargetFilename(file.toStdString());
    if (engine.ExportTable(tabs_->currentControl().getTableObject(), format->method))
        status_->showMessage(QStringLiteral("Exported to %1").arg(QString::fromStdString(engine.getTargetFilename())),
                             kStatusMessageMs);
    else
        reportFailure(QStringLiteral("The table could not be exported to %1.").arg(file));
}

void MainWindow::printCurrent(bool preview) {
    ExportEngine engine(host_.toolkit());
    // A preview too: the export engine lays pages out for an installed printer only.
    if (engine.NoPrinters()) return;
    if (focusInLiveTabs()) {
        engine.setTitle(tabs_->tabText(tabs_->currentIndex()).toStdString());
        engine.PrintTable(tabs_->currentControl().getTableObject(), preview);
    } else {
        engine.PrintRTF(tree_->getCurrentOIDDetailsRTF(), preview);
    }
}

ControlDialog* MainWindow::showModuleTree() {
    const auto module = tree_->getMIBName();
    if (module.empty()) return nullptr;
    auto single = std::make_unique<SingleMIBTree>(host_.toolkit());
    single->setMIB(module);
    // It opens on the current object, whose module it shows.
    const auto oid = currentNode();
    for (std::int32_t row = 0; row < single->getTable().getRows(); ++row)
        if (single->GetOIDbyRow(row) == oid) {
            single->setRow(row);
            break;
        }
    auto* dialog = new ControlDialog(host_, std::move(single), QString::fromStdString(module), this);
    dialog->show();
    return dialog;
}

void MainWindow::expandCurrent(bool expand) {
    const auto oid = currentNode();
    if (oid.empty()) return;
    if (expand) {
        tree_->ExpandOID(oid);
        return;
    }
    auto& grid = tree_->getTable();
    if (grid.getRow() >= 0) grid.setIsCollapsed(grid.getRow(), true);
}

void MainWindow::showSettings() {
    SettingsDialog dialog(settings_, this);
    dialog.exec();
}

void MainWindow::showAbout() {
    QMessageBox::about(this, QStringLiteral("About QLMIBTree Browser"),
                       QStringLiteral("<h3>QLMIBTree Browser</h3><p>%1, version %2</p>"
                                      "<p>Browses the MIB database and walks SNMP agents.</p>"
                                      "<p>MIB database: %3</p>")
                           .arg(QString::fromUtf8(kLibraryDescription).trimmed().toHtmlEscaped(),
                                QString::fromUtf8(kLibraryVersion),
                                QString::fromStdString(DatabasePath()).toHtmlEscaped()));
}

}  // namespace qlmib::browser
