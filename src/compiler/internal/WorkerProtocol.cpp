#include "internal/WorkerProtocol.h"

#include <qlmib/common/Error.h>

#include <filesystem>
#include <system_error>

#include "internal/Wire.h"

namespace qlmib::compiler {
namespace {

enum Kind : std::int64_t { kLoading = 1, kTarget = 2 };

void writeScanned(WireWriter& out, const std::optional<ScannedModule>& scanned) {
    out.number(scanned ? 1 : 0);
    if (!scanned) return;
    out.text(scanned->name).number(static_cast<std::int64_t>(scanned->imports.size()));
    for (const auto& [source, names] : scanned->imports) out.text(source).texts(names);
}

std::optional<ScannedModule> readScanned(WireReader& in) {
    if (in.number() == 0) return std::nullopt;
    ScannedModule scanned{in.text(), {}};
    for (auto count = in.number(); count > 0; --count) {
        auto source = in.text();
        scanned.imports.emplace_back(std::move(source), in.texts());
    }
    return scanned;
}

void writeModule(WireWriter& out, const CompiledModule& m) {
    out.text(m.name).text(m.file).text(m.description).text(m.contact).text(m.organization).text(m.lastUpdated);
    out.texts(m.imports).number(static_cast<std::int64_t>(m.objects.size()));
    for (const auto& o : m.objects) {
        out.text(o.name).text(o.oid).text(o.syntax).text(o.access).text(o.status).text(o.description);
        out.number(static_cast<std::int64_t>(o.enums.size()));
        for (const auto& e : o.enums) out.text(e.label).number(e.value);
    }
    out.number(static_cast<std::int64_t>(m.textualConventions.size()));
    for (const auto& tc : m.textualConventions) out.text(tc.name).text(tc.baseType).number(tc.code);
}

CompiledModule readModule(WireReader& in) {
    CompiledModule m;
    m.name = in.text();
    m.file = in.text();
    m.description = in.text();
    m.contact = in.text();
    m.organization = in.text();
    m.lastUpdated = in.text();
    m.imports = in.texts();
    for (auto count = in.number(); count > 0; --count) {
        MibObject o;
        o.name = in.text();
        o.oid = in.text();
        o.syntax = in.text();
        o.access = in.text();
        o.status = in.text();
        o.description = in.text();
        for (auto enums = in.number(); enums > 0; --enums) {
            auto label = in.text();
            o.enums.push_back({std::move(label), in.number()});
        }
        m.objects.push_back(std::move(o));
    }
    for (auto count = in.number(); count > 0; --count) {
        TextualConvention tc;
        tc.name = in.text();
        tc.baseType = in.text();
        tc.code = static_cast<std::int16_t>(in.number());
        m.textualConventions.push_back(std::move(tc));
    }
    return m;
}

}  // namespace

std::string EncodeJob(const WorkerJob& job) {
    WireWriter out;
    out.text(job.path).number(job.useDefaultPath).text(job.linksFolder);
    out.number(static_cast<std::int64_t>(job.targets.size()));
    for (const auto& t : job.targets) {
        out.text(t.request).text(t.loadTarget).number(static_cast<std::int64_t>(t.preload.size()));
        for (const auto& p : t.preload) out.text(p.module).text(p.file);
        writeScanned(out, t.scanned);
    }
    return out.bytes();
}

WorkerJob DecodeJob(const std::string& bytes) {
    WireReader in(bytes);
    WorkerJob job;
    job.path = in.text();
    job.useDefaultPath = in.number() != 0;
    job.linksFolder = in.text();
    for (auto count = in.number(); count > 0; --count) {
        WorkerTarget t;
        t.request = in.text();
        t.loadTarget = in.text();
        for (auto preload = in.number(); preload > 0; --preload) {
            auto module = in.text();
            t.preload.push_back({std::move(module), in.text()});
        }
        t.scanned = readScanned(in);
        job.targets.push_back(std::move(t));
    }
    return job;
}

std::string EncodeLoading(const LoadingMessage& message) {
    WireWriter out;
    out.number(kLoading).text(message.module).text(message.file);
    return out.bytes();
}

std::string EncodeTarget(const TargetMessage& message) {
    WireWriter out;
    const auto& r = message.result;
    out.number(kTarget).text(r.request).number(r.ok).text(r.error).texts(r.skipped);
    writeModule(out, r.module);
    out.number(static_cast<std::int64_t>(r.unresolved.size()));
    for (const auto& u : r.unresolved) out.text(u.name).text(u.missing);
    out.number(static_cast<std::int64_t>(message.missing.size()));
    for (const auto& [source, names] : message.missing) out.text(source).texts(names);
    out.number(static_cast<std::int64_t>(message.diagnostics.size()));
    for (const auto& d : message.diagnostics) out.text(d.file).number(d.line).number(d.severity).text(d.message);
    return out.bytes();
}

WorkerMessage DecodeWorkerMessage(const std::string& bytes) {
    WireReader in(bytes);
    WorkerMessage message;
    const auto kind = in.number();
    if (kind == kLoading) {
        auto module = in.text();
        message.loading = LoadingMessage{std::move(module), in.text()};
    } else if (kind == kTarget) {
        TargetMessage t;
        t.result.request = in.text();
        t.result.ok = in.number() != 0;
        t.result.error = in.text();
        t.result.skipped = in.texts();
        t.result.module = readModule(in);
        for (auto count = in.number(); count > 0; --count) {
            auto name = in.text();
            t.result.unresolved.push_back({std::move(name), in.text()});
        }
        for (auto count = in.number(); count > 0; --count) {
            auto source = in.text();
            t.missing.emplace_back(std::move(source), in.texts());
        }
        for (auto count = in.number(); count > 0; --count) {
            Diagnostic d;
            d.file = in.text();
            d.line = static_cast<int>(in.number());
            d.severity = static_cast<int>(in.number());
            d.message = in.text();
            t.diagnostics.push_back(std::move(d));
        }
        message.target = std::move(t);
    } else {
        throw Error(ERR_FILE, "A message from a MIB compiler worker is of an unknown kind");
    }
    if (!in.atEnd()) throw Error(ERR_FILE, "A message from a MIB compiler worker is malformed");
    return message;
}

bool IsFileRequest(const std::string& request) {
    std::error_code ec;
    return std::filesystem::is_regular_file(request, ec);
}

}  // namespace qlmib::compiler
