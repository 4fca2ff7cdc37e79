#include "internal/WorkerJobRunner.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <set>
#include <string_view>

#include "internal/ModuleReader.h"
#include "internal/SmiSession.h"

namespace qlmib::compiler {
namespace fs = std::filesystem;
namespace {

// libsmi parses as much of a broken module as it can; a module that did not
// parse cleanly is a failure even though libsmi loaded part of it.
bool brokenFile(const std::vector<Diagnostic>& diagnostics, const std::string& file) {
    return std::any_of(diagnostics.begin(), diagnostics.end(), [&](const Diagnostic& d) {
        return d.file == file && (d.severity == 0 || std::string_view(d.message).starts_with("syntax error"));
    });
}

std::string fileText(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// libsmi drops an object whose OID names an unknown parent without a word
// but its report of the unknown label; the report's line leads back to the
// definition it sits in.
void addUnplaced(ModuleResult& r, const std::vector<Diagnostic>& diagnostics, const std::string& file) {
    static constexpr std::string_view kUnknownLabel = "unknown object identifier label `";
    std::optional<std::string> text;
    for (const auto& d : diagnostics) {
        if (d.file != file || !d.message.starts_with(kUnknownLabel)) continue;
        if (!text) text = fileText(file);
        const std::string name = DefinitionNameAt(*text, d.line);
        const auto named = [&](const auto& item) { return item.name == name; };
        if (name.empty() || std::any_of(r.module.objects.begin(), r.module.objects.end(), named) ||
            std::any_of(r.unresolved.begin(), r.unresolved.end(), named)) {
            continue;
        }
        std::string missing = d.message.substr(kUnknownLabel.size());
        missing.erase(std::min(missing.find('\''), missing.size()));
        r.unresolved.push_back({name, missing});
    }
}

class JobRun {
public:
    JobRun(const WorkerJob& job, const JobHooks& hooks)
        : job_(job), hooks_(hooks), session_(job.path, job.useDefaultPath) {}

    void run() {
        for (const auto& target : job_.targets) {
            for (const auto& entry : target.preload) {
                if (loaded_.insert(entry.module).second) load(entry.module, entry.file);
            }
            const std::string name = load(target.loadTarget, target.loadTarget);
            send(target, name);
        }
    }

private:
    std::string load(const std::string& module, const std::string& what) {
        hooks_.send(EncodeLoading({module, what}));
        if (hooks_.beforeLoad) hooks_.beforeLoad(module);
        return session_.load(what);
    }

    // libsmi finds imported modules through links named after them; a
    // report names the file the link points at.
    std::string realFile(const std::string& file) const {
        if (file.empty() || job_.linksFolder.empty() || fs::path(file).parent_path() != job_.linksFolder) return file;
        std::error_code ec;
        const auto target = fs::read_symlink(file, ec);
        return ec ? file : target.string();
    }

    void send(const WorkerTarget& target, const std::string& name) {
        TargetMessage message;
        const auto& all = session_.diagnostics();
        for (std::size_t i = reported_; i < all.size(); ++i) {
            message.diagnostics.push_back(all[i]);
            message.diagnostics.back().file = realFile(all[i].file);
        }
        reported_ = all.size();
        message.result = result(target, name);
        if (message.result.ok && target.scanned) {
            for (const auto& [source, names] : target.scanned->imports) {
                if (!smiGetModule(source.c_str())) message.missing.emplace_back(source, names);
            }
        }
        hooks_.send(EncodeTarget(message));
    }

    ModuleResult result(const WorkerTarget& target, const std::string& name) const {
        ModuleResult r;
        r.request = target.request;
        SmiModule* module = name.empty() ? nullptr : smiGetModule(name.c_str());
        if (!module) {
            r.error = IsFileRequest(target.request) ? "no MIB module could be read from " + target.request
                                             : "no file or module named " + target.request + " was found";
            return r;
        }
        const std::string file = module->path ? module->path : "";
        if (brokenFile(session_.diagnostics(), file)) {
            r.error = name + " has syntax errors in " + realFile(file);
            return r;
        }
        auto read = ReadModule(module, realFile(file), target.scanned ? &*target.scanned : nullptr);
        r.module = std::move(read.module);
        r.skipped = std::move(read.skipped);
        r.unresolved = std::move(read.unresolved);
        addUnplaced(r, session_.diagnostics(), file);
        r.ok = true;
        return r;
    }

    const WorkerJob& job_;
    const JobHooks& hooks_;
    SmiSession session_;
    std::set<std::string> loaded_;
    std::size_t reported_ = 0;
};

}  // namespace

void RunJob(const WorkerJob& job, const JobHooks& hooks) { JobRun(job, hooks).run(); }

}  // namespace qlmib::compiler
