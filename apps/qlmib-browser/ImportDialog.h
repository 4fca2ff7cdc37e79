#pragma once
// The import's progress, with Cancel, and then its report: each file's
// modules, the compiler's problems (missing imports by module) and whether
// the database was changed; every message of the compiler behind a
// "Show details" button.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTextBrowser;

namespace qlmib::browser {

class ImportJob;
struct ImportReport;

class ImportDialog : public QDialog {
    Q_OBJECT
public:
    ImportDialog(ImportJob& job, QWidget* parent = nullptr);

    // The report as the dialog shows it.
    QString reportText() const;
    // The button that shows and hides every message of the compiler; hidden when there are none.
    QPushButton& detailsButton() { return *details_; }
    QString messagesText() const;

    // Closing the dialog while the import runs cancels it.
    void reject() override;

private:
    void showReport();

    ImportJob& job_;
    QLabel* step_;
    QProgressBar* bar_;
    QTextBrowser* report_;
    QPlainTextEdit* messages_;
    QPushButton* details_;
    QPushButton* button_;
};

// The report of a finished import as HTML.
QString ImportReportHtml(const ImportReport& report);

}  // namespace qlmib::browser
