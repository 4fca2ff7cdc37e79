#include "ImportJob.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>
#include <filesystem>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibx/ImportMIBX.h>

namespace qlmib::browser {

namespace fs = std::filesystem;

namespace {

// A module that takes longer than this to compile is given up.
constexpr int kCompileLimitMs = 60000;

QString fileName(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

ImportJob::ImportJob(QStringList files, QString databasePath, QString compilerProgram, QObject* parent)
    : QObject(parent),
      files_(std::move(files)),
      databasePath_(std::move(databasePath)),
      compilerProgram_(std::move(compilerProgram)) {}

ImportJob::~ImportJob() {
    cancel_ = true;
    if (process_) process_->kill();
    if (importer_.joinable()) importer_.join();
    if (!copyPath_.isEmpty() && !report_.committed) fs::remove(copyPath_.toStdString());
}

bool ImportJob::IsMIBX(const QString& file) {
    const auto suffix = QFileInfo(file).suffix().toLower();
    return suffix == QLatin1String("mibx") || suffix == QLatin1String("xml");
}

void ImportJob::start() {
    const QFileInfo database(databasePath_);
    if (!database.exists()) return finish(QStringLiteral("There is no MIB database at %1.").arg(databasePath_));
    if (!database.isWritable() || !QFileInfo(database.absolutePath()).isWritable())
        return finish(QStringLiteral("The MIB database %1 is read-only, so nothing can be imported into it.")
                          .arg(databasePath_));
    if (!work_.isValid()) return finish(QStringLiteral("No temporary folder for the compiled modules."));
    compileNext();
}

void ImportJob::cancel() {
    if (done_) return;
    cancel_ = true;
    if (process_) process_->kill();
}

void ImportJob::compileNext() {
    if (cancel_) return finish({});
    if (next_ == files_.size()) return importAll();
    const QString file = files_[next_];
    Q_EMIT progress(next_, QStringLiteral("Compiling %1").arg(fileName(file)));
    if (IsMIBX(file)) {
        mibxFiles_ << file;
        ++next_;
        return compileNext();
    }
    process_ = new QProcess(this);
    process_->setProgram(compilerProgram_);
    // Modules the file imports are looked for beside it and on the compiler's own path.
    // Verbose: the report lists the warnings too, behind its details button.
    process_->setArguments({QStringLiteral("compile"), QStringLiteral("-v"), QStringLiteral("-o"), work_.path(),
                            QStringLiteral("-p"), QFileInfo(file).absolutePath(), file});
    process_->setProcessChannelMode(QProcess::MergedChannels);
    connect(process_, &QProcess::finished, this, &ImportJob::compiled);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(QStringLiteral("The MIB compiler %1 could not be started.").arg(compilerProgram_));
    });
    QTimer::singleShot(kCompileLimitMs, process_, [p = process_] { p->kill(); });
    process_->start();
}

void ImportJob::compiled(int exitCode, QProcess::ExitStatus status) {
    const QString file = files_[next_++];
    const QString output = QString::fromUtf8(process_->readAll());
    process_->deleteLater();
    process_ = nullptr;
    if (cancel_) return finish({});
    static const QRegularExpression written(QStringLiteral("^(\\S+): written (.+) \\((\\d+) objects\\)$"),
                                            QRegularExpression::MultilineOption);
    static const QRegularExpression failed(QStringLiteral("^(.+): failed: (.+)$"),
                                           QRegularExpression::MultilineOption);
    bool any = false;
    for (auto it = written.globalMatch(output); it.hasNext();) {
        const auto m = it.next();
        mibxFiles_ << m.captured(2);
        report_.modules.append({file, m.captured(1), true, {}, 0});
        any = true;
    }
    for (auto it = failed.globalMatch(output); it.hasNext();) {
        const auto m = it.next();
        report_.modules.append({file, {}, false, m.captured(2), 0});
        any = true;
    }
    if (status == QProcess::CrashExit || !any)
        report_.modules.append({file, {}, false,
                                status == QProcess::CrashExit
                                    ? QStringLiteral("the compiler stopped on this file (it crashed or took too long)")
                                    : QStringLiteral("the compiler gave no result (exit status %1)").arg(exitCode),
                                0});
    const auto problems = output.indexOf(QStringLiteral("\nProblems:\n"));
    if (problems >= 0) {
        QString summary = output.mid(problems + 10);
        static const QRegularExpression listing(QStringLiteral("^libsmi messages.*\n"),
                                                QRegularExpression::MultilineOption);
        const auto messages = listing.match(summary);
        if (messages.hasMatch()) {
            report_.compileMessages += fileName(file) + QStringLiteral(":\n") + summary.mid(messages.capturedEnd());
            summary.truncate(messages.capturedStart());
        }
        report_.compileProblems += fileName(file) + QLatin1Char(':') + summary + QLatin1Char('\n');
    }
    compileNext();
}

void ImportJob::importAll() {
    if (mibxFiles_.isEmpty()) return finish(QStringLiteral("No module could be compiled, so nothing was imported."));
    copyPath_ = databasePath_ + QStringLiteral(".import");
    std::error_code ec;
    fs::copy_file(databasePath_.toStdString(), copyPath_.toStdString(), fs::copy_options::overwrite_existing, ec);
    if (ec)
        return finish(QStringLiteral("The MIB database could not be copied for the import: %1")
                          .arg(QString::fromStdString(ec.message())));
    Q_EMIT progress(static_cast<int>(files_.size()), QStringLiteral("Importing"));
    // Its own thread has its own connection: the window keeps reading the database as it was.
    importer_ = std::thread([this, files = mibxFiles_, copy = copyPath_.toStdString()] {
        QString failure;
        QList<ImportReport::Module> results;
        try {
            DatabaseFileOverride use(copy);
            ImportMIBX importer;
            QString problem;
            auto onError = importer.Error.subscribe([&](const std::string& text) {
                if (problem.isEmpty()) problem = QString::fromStdString(text);
            });
            int step = static_cast<int>(files_.size());
            for (const auto& file : files) {
                if (cancel_) break;
                problem.clear();
                const auto before = importer.getOIDCount();
                const bool ok = importer.ImportMIBXFile(file.toStdString());
                results.append({file, QString::fromStdString(importer.getModuleName()), ok, problem,
                                importer.getOIDCount() - before});
                QMetaObject::invokeMethod(this, [this, step, file] {
                    Q_EMIT progress(step, QStringLiteral("Imported %1").arg(fileName(file)));
                });
                ++step;
            }
        } catch (const Error& e) {
            failure = QStringLiteral("The import failed: %1").arg(QString::fromStdString(e.Description()));
        }
        QMetaObject::invokeMethod(this, [this, failure, results] {
            // Compiled modules are reported once, with what their import made of them.
            for (const auto& r : results) {
                auto known = std::find_if(report_.modules.begin(), report_.modules.end(),
                                          [&](const auto& m) { return m.ok && m.module == r.module; });
                if (known == report_.modules.end()) {
                    report_.modules.append(r);
                    continue;
                }
                known->ok = r.ok;
                known->objects = r.objects;
                known->problem = r.problem;
            }
            report_.failure = failure;
            imported();
            finish(report_.failure);
        });
    });
}

void ImportJob::imported() {
    importer_.join();
    if (cancel_ || !report_.failure.isEmpty()) return;
    std::error_code ec;
    CloseSharedDatabase();
    fs::rename(copyPath_.toStdString(), databasePath_.toStdString(), ec);
    if (ec) {
        report_.failure = QStringLiteral("The imported modules could not replace the MIB database: %1")
                              .arg(QString::fromStdString(ec.message()));
        return;
    }
    report_.committed = true;
}

void ImportJob::finish(const QString& failure) {
    if (done_) return;
    done_ = true;
    if (process_) process_->kill();
    report_.cancelled = cancel_;
    if (report_.failure.isEmpty()) report_.failure = failure;
    if (!report_.committed && !copyPath_.isEmpty() && !importer_.joinable()) fs::remove(copyPath_.toStdString());
    Q_EMIT finished();
}

}  // namespace qlmib::browser
