#pragma once
// Imports MIB files chosen by the user into the MIB database: MIB text is
// compiled first, one file per run of the command-line host (libsmi may
// crash on a bad file and must not take the window with it), then every
// MIB-X file is imported into a copy of the database, which replaces the
// database only when the whole import went through. A cancelled or failed
// import leaves the database as it was.

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <memory>
#include <thread>

namespace qlmib::browser {

struct ImportReport {
    struct Module {
        QString file;
        QString module;
        bool ok = false;
        QString problem;  // why it failed; "" when ok
        int objects = 0;
    };
    QList<Module> modules;
    QString compileProblems;  // the compiler's own report: missing imports by module, syntax errors
    QString compileMessages;  // every message of the compiler, warnings included, by file
    QString failure;          // why nothing was imported; "" when the database was updated
    bool cancelled = false;
    bool committed = false;
};

class ImportJob : public QObject {
    Q_OBJECT
public:
    // `compilerProgram`: the command-line host that compiles MIB text.
    ImportJob(QStringList files, QString databasePath, QString compilerProgram, QObject* parent = nullptr);
    ~ImportJob() override;

    void start();
    // Stops at the next step; the database stays as it was.
    void cancel();
    const ImportReport& report() const { return report_; }
    int stepCount() const { return static_cast<int>(files_.size()) * 2; }

    // Whether a file is MIB-X (imported as it is) rather than MIB text.
    static bool IsMIBX(const QString& file);

Q_SIGNALS:
    void progress(int step, const QString& what);
    void finished();

private:
    void compileNext();
    void compiled(int exitCode, QProcess::ExitStatus status);
    void importAll();
    void imported();
    void finish(const QString& failure);

    QStringList files_;
    QString databasePath_, compilerProgram_;
    QStringList mibxFiles_;
    int next_ = 0;
    QTemporaryDir work_;
    QPointer<QProcess> process_;
    std::thread importer_;
    std::atomic<bool> cancel_{false};
    QString copyPath_;
    ImportReport report_;
    bool done_ = false;
};

}  // namespace qlmib::browser
