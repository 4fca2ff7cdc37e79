#include "MibCompiler.h"

#include <unistd.h>

#include <algorithm>
#include <map>
#include <set>
#include <thread>

#include <qlmib/common/Error.h>

#include "internal/DependencyOrder.h"
#include "internal/ModuleIndex.h"
#include "internal/ScratchFolder.h"
#include "internal/WorkerPool.h"

namespace qlmib::compiler {
namespace fs = std::filesystem;
namespace {

template <class T>
void addOnce(std::vector<T>& list, const T& value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) list.push_back(value);
}

constexpr auto kProgressInterval = std::chrono::milliseconds(100);
// Jobs per worker: enough for the load to even out, few enough that the
// imports each job reads again stay a small share of the work.
constexpr std::size_t kJobsPerWorker = 4;
constexpr std::size_t kLargestJob = 64;

int workerCount(int requested) {
    if (requested > 0) return requested;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores ? static_cast<int>(cores) : 1;
}

std::string failureText(const JobEnd& end, const std::string& module, const std::string& file) {
    const std::string what = module + " (" + file + ")";
    switch (end.failure) {
    case JobFailure::crashed:
        return "libsmi crashed reading " + what + ": signal " + std::to_string(end.detail) + "; skipped";
    case JobFailure::timedOut:
        return "libsmi reading " + what + " did not finish within " + std::to_string(end.detail) + " s; skipped";
    case JobFailure::outOfMemory:
        return "libsmi reading " + what + " needed more than " + std::to_string(end.detail) + " MB; skipped";
    default:
        return "libsmi reading " + what + " stopped with exit status " + std::to_string(end.detail) + "; skipped";
    }
}

// Everything one compile() call works with.
class Compilation {
public:
    Compilation(const CompileOptions& options, const std::vector<std::string>& requests)
        : options_(options), requests_(requests) {
        // Named files first, then the search path, then the files' own
        // folders: a module is taken from the first place that defines it.
        std::vector<fs::path> fileFolders;
        for (const auto& request : requests_) {
            if (!IsFileRequest(request)) continue;
            fileModules_[request] = index_.addFile(request);
            addOnce(fileFolders, fs::absolute(request).parent_path());
        }
        for (const auto& folder : options.searchPath) index_.addFolder(folder);
        for (const auto& folder : fileFolders) index_.addFolder(folder);
    }

    CompileReport run(Event<const CompileProgress&, bool&>& progress) {
        // libsmi finds a module it is not given by its name on its path; the
        // path is a folder of links named after the modules the index knows,
        // so that a module found unreadable can be taken away from it.
        links_ = scratch_.path() / "modules";
        fs::create_directory(links_);
        for (const auto& [name, file] : index_.files()) {
            if (name.find('/') == std::string::npos) {
                std::error_code ignored;
                fs::create_symlink(file, links_ / name, ignored);
            }
        }
        WorkerLimits limits{options_.workerProgram.empty() ? DefaultWorkerProgram() : options_.workerProgram,
                            workerCount(options_.workers), options_.moduleTimeLimitSeconds,
                            options_.workerMemoryMegabytes};
        WorkerPool pool(limits, scratch_.path());

        results_.resize(requests_.size());
        std::vector<std::size_t> all(requests_.size());
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
        const std::size_t jobSize =
            std::clamp<std::size_t>(all.size() / (kJobsPerWorker * limits.workers), 1, kLargestJob);
        for (std::size_t first = 0; first < all.size(); first += jobSize) {
            submit(pool, {all.begin() + first, all.begin() + std::min(all.size(), first + jobSize)}, false);
        }
        while (!pool.idle()) {
            for (auto& event : pool.poll(kProgressInterval)) handle(pool, std::move(event));
            bool cancel = false;
            progress(CompileProgress{done_, static_cast<int>(requests_.size()), failed_}, cancel);
            if (cancel) throw Error(ERR_CANCELLED, "The MIB compile was cancelled");
        }

        CompileReport report;
        for (std::size_t i = 0; i < requests_.size(); ++i) report.modules.push_back(std::move(*results_[i]));
        report.missingModules = std::move(missing_);
        report.skippedModules = std::move(skipped_);
        report.diagnostics = std::move(diagnostics_);
        return report;
    }

private:
    struct Job {
        std::vector<std::size_t> requests;
        std::set<std::size_t> answered;
        bool solo = false;  // one request alone in a fresh worker
    };

    std::string loadTarget(const std::string& request) const {
        if (!IsFileRequest(request)) return request;
        const auto& names = fileModules_.at(request);
        // A file whose module the scan did not recognise is left to libsmi to read.
        return names.empty() ? fs::absolute(request).lexically_normal().string() : names.front();
    }

    // What `module` imports, depth first, imports before importers, without
    // the modules found unreadable; an import cycle is cut where it closes
    // and left to libsmi's own lookup.
    void preloadOrder(const std::string& module, std::set<std::string>& seen, std::vector<PreloadEntry>& order) const {
        const auto file = index_.fileOf(module);
        if (file.empty() || skippedNames_.count(module) || !seen.insert(module).second) return;
        for (const auto& [source, names] : index_.scanned(module)->imports) preloadOrder(source, seen, order);
        order.push_back({module, file.string()});
    }

    void submit(WorkerPool& pool, std::vector<std::size_t> requests, bool solo) {
        WorkerJob job{links_.string(), options_.useDefaultPath, links_.string(), {}};
        std::vector<std::size_t> sent;
        for (std::size_t i : requests) {
            WorkerTarget target{requests_[i], loadTarget(requests_[i]), {}, std::nullopt};
            if (const auto it = skippedNames_.find(target.loadTarget); it != skippedNames_.end()) {
                answer(i, failedResult(i, it->second));
                continue;
            }
            std::set<std::string> seen;
            preloadOrder(target.loadTarget, seen, target.preload);
            // The module itself is loaded as the target, not before it.
            if (!target.preload.empty() && target.preload.back().module == target.loadTarget) target.preload.pop_back();
            if (const auto* scanned = index_.scanned(target.loadTarget)) target.scanned = *scanned;
            job.targets.push_back(std::move(target));
            sent.push_back(i);
        }
        if (sent.empty()) return;
        jobs_.push_back({std::move(sent), {}, solo});
        pool.submit(jobs_.size() - 1, job);
    }

    ModuleResult failedResult(std::size_t request, const std::string& reason) const {
        ModuleResult r;
        r.request = requests_[request];
        r.error = reason;
        return r;
    }

    void answer(std::size_t request, ModuleResult result) {
        if (results_[request]) return;
        ++done_;
        if (!result.ok) ++failed_;
        results_[request] = std::move(result);
    }

    void handle(WorkerPool& pool, PoolEvent event) {
        Job& job = jobs_[event.job];
        if (event.target) {
            auto& message = *event.target;
            const std::size_t request = job.requests[job.answered.size()];
            job.answered.insert(request);
            for (auto& d : message.diagnostics) {
                if (seen_.emplace(d.file, d.line, d.message).second) diagnostics_.push_back(std::move(d));
            }
            if (message.result.ok) addMissing(message.result.module.name, message.missing);
            answer(request, std::move(message.result));
            return;
        }
        const JobEnd& end = *event.end;
        std::vector<std::size_t> unanswered;
        for (std::size_t i : job.requests) {
            if (!job.answered.count(i)) unanswered.push_back(i);
        }
        if (unanswered.empty()) return;
        // A crash after many modules may be libsmi's accumulated state rather
        // than the module at hand: only a module that fails in a fresh worker
        // of its own, or that hangs or exhausts memory, is skipped.
        const bool blame = job.solo || end.failure == JobFailure::timedOut || end.failure == JobFailure::outOfMemory;
        if (blame && end.loading) skip(*end.loading, end);
        const bool soloAgain = !(job.solo && !end.loading);
        for (std::size_t i : unanswered) {
            if (soloAgain) {
                submit(pool, {i}, true);
            } else {
                answer(i, failedResult(i, failureText(end, loadTarget(requests_[i]), requests_[i])));
            }
        }
    }

    void skip(const LoadingMessage& loading, const JobEnd& end) {
        if (skippedNames_.count(loading.module)) return;
        const auto known = index_.fileOf(loading.module);
        const std::string file = known.empty() ? loading.file : known.string();
        const std::string reason = failureText(end, loading.module, file);
        skippedNames_.emplace(loading.module, reason);
        skipped_.push_back({loading.module, file, reason});
        std::error_code ignored;
        fs::remove(links_ / loading.module, ignored);
    }

    void addMissing(const std::string& importer,
                    const std::vector<std::pair<std::string, std::vector<std::string>>>& missing) {
        for (const auto& [module, names] : missing) {
            const std::string& source = module;
            auto it = std::find_if(missing_.begin(), missing_.end(),
                                   [&](const MissingModule& m) { return m.name == source; });
            if (it == missing_.end()) it = missing_.insert(missing_.end(), MissingModule{source, {}, {}});
            addOnce(it->importers, importer);
            for (const auto& descriptor : names) addOnce(it->names, descriptor);
        }
    }

    const CompileOptions& options_;
    const std::vector<std::string>& requests_;
    ModuleIndex index_;
    std::map<std::string, std::vector<std::string>> fileModules_;
    ScratchFolder scratch_{"qlmib-compile"};
    fs::path links_;

    std::vector<Job> jobs_;
    std::vector<std::optional<ModuleResult>> results_;
    int done_ = 0, failed_ = 0;
    std::map<std::string, std::string> skippedNames_;  // module -> why
    std::vector<SkippedModule> skipped_;
    std::vector<MissingModule> missing_;
    std::vector<Diagnostic> diagnostics_;
    std::set<std::tuple<std::string, int, std::string>> seen_;
};

}  // namespace

bool CompileReport::allSucceeded() const {
    return skippedModules.empty() &&
           std::all_of(modules.begin(), modules.end(), [](const ModuleResult& r) { return r.ok; });
}

std::vector<const CompiledModule*> CompileReport::dependencyOrder() const {
    std::vector<const CompiledModule*> compiled;
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> imports;
    for (const auto& r : modules) {
        if (!r.ok || std::find(names.begin(), names.end(), r.module.name) != names.end()) continue;
        compiled.push_back(&r.module);
        names.push_back(r.module.name);
        imports.push_back(r.module.imports);
    }
    std::vector<const CompiledModule*> ordered;
    for (std::size_t i : DependencyOrder(names, imports)) ordered.push_back(compiled[i]);
    return ordered;
}

MibCompiler::MibCompiler(CompileOptions options) : options_(std::move(options)) {}

CompileReport MibCompiler::compile(const std::vector<std::string>& requests) {
    Compilation compilation(options_, requests);
    return compilation.run(Progress);
}

}  // namespace qlmib::compiler
