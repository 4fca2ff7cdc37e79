#include "ImportDialog.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ImportJob.h"

namespace qlmib::browser {

QString ImportReportHtml(const ImportReport& report) {
    QString html;
    if (report.committed)
        html += QStringLiteral("<p><b>The modules below were imported.</b></p>");
    else if (report.cancelled)
        html += QStringLiteral("<p><b>The import was cancelled; the MIB database was not changed.</b></p>");
    else
        html += QStringLiteral("<p><b>%1</b><br>The MIB database was not changed.</p>")
                    .arg(report.failure.toHtmlEscaped());
    if (!report.modules.isEmpty()) {
        html += QStringLiteral("<table cellspacing=4><tr><th align=left>File</th><th align=left>Module</th>"
                               "<th align=left>Result</th></tr>");
        for (const auto& m : report.modules) {
            const QString result = m.ok ? QStringLiteral("%1 objects").arg(m.objects)
                                        : QStringLiteral("<span style='color:#b00000'>%1</span>")
                                              .arg(m.problem.toHtmlEscaped());
            html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                        .arg(QFileInfo(m.file).fileName().toHtmlEscaped(), m.module.toHtmlEscaped(), result);
        }
        html += QStringLiteral("</table>");
    }
    if (!report.compileProblems.isEmpty())
        html += QStringLiteral("<p><b>Problems and missing imports</b></p><pre>%1</pre>")
                    .arg(report.compileProblems.toHtmlEscaped());
    if (!report.compileMessages.isEmpty())
        html += QStringLiteral("<p>Show details lists every message of the compiler, warnings included.</p>");
    return html;
}

ImportDialog::ImportDialog(ImportJob& job, QWidget* parent) : QDialog(parent), job_(job) {
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(QStringLiteral("Import MIB files"));
    auto* layout = new QVBoxLayout(this);
    step_ = new QLabel(QStringLiteral("Starting…"), this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, job.stepCount());
    report_ = new QTextBrowser(this);
    report_->setVisible(false);
    messages_ = new QPlainTextEdit(this);
    messages_->setObjectName(QStringLiteral("CompilerMessages"));
    messages_->setReadOnly(true);
    messages_->setLineWrapMode(QPlainTextEdit::NoWrap);
    messages_->setVisible(false);
    details_ = new QPushButton(QStringLiteral("Show details"), this);
    details_->setCheckable(true);
    details_->setVisible(false);
    button_ = new QPushButton(QStringLiteral("Cancel"), this);
    layout->addWidget(step_);
    layout->addWidget(bar_);
    layout->addWidget(report_, 2);
    layout->addWidget(messages_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(details_);
    buttons->addStretch(1);
    buttons->addWidget(button_);
    layout->addLayout(buttons);
    resize(560, 140);
    connect(&job, &ImportJob::progress, this, [this](int step, const QString& what) {
        bar_->setValue(step);
        step_->setText(what);
    });
    connect(&job, &ImportJob::finished, this, &ImportDialog::showReport);
    connect(details_, &QPushButton::toggled, this, [this](bool shown) {
        messages_->setVisible(shown);
        details_->setText(shown ? QStringLiteral("Hide details") : QStringLiteral("Show details"));
    });
    connect(button_, &QPushButton::clicked, this, [this] {
        if (report_->isVisible())
            accept();
        else
            job_.cancel();
    });
}

void ImportDialog::reject() {
    if (!report_->isVisible()) job_.cancel();
    QDialog::reject();
}

QString ImportDialog::reportText() const { return report_->toPlainText(); }

QString ImportDialog::messagesText() const { return messages_->toPlainText(); }

void ImportDialog::showReport() {
    bar_->setValue(bar_->maximum());
    step_->setText(job_.report().committed ? QStringLiteral("Import finished.") : QStringLiteral("Nothing imported."));
    report_->setHtml(ImportReportHtml(job_.report()));
    report_->setVisible(true);
    messages_->setPlainText(job_.report().compileMessages);
    details_->setVisible(!job_.report().compileMessages.isEmpty());
    button_->setText(QStringLiteral("Close"));
    resize(720, 480);
}

}  // namespace qlmib::browser
