// MIB text through the code a libsmi worker runs (one job, one module file,
// the base modules from libsmi's configured path), and every module that
// compiles written as MIB-X. The document must be well-formed XML and name
// every object it holds with a numeric OID. libsmi's own crashes show up here
// too: the compiler isolates them in its workers, so they are kept as test
// inputs for that isolation, not fixed.

#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include <qlmib/compiler/MibxWriter.h>

#include "FuzzHome.h"
#include "internal/WorkerJobRunner.h"

using namespace qlmib::compiler;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::MakeHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const auto file = (fuzz::HomeFolder() / "INPUT.mib").string();
    fuzz::WriteFile(file, data, size);
    WorkerJob job;
    job.targets.push_back({file, file, {}, std::nullopt});
    JobHooks hooks;
    hooks.send = [](const std::string& bytes) {
        const auto message = DecodeWorkerMessage(bytes);
        if (!message.target || !message.target->result.ok) return;
        const std::string text = MibxText(message.target->result.module, 0);
        pugi::xml_document doc;
        fuzz::Check(doc.load_string(text.c_str()), "MIB-X written by the compiler parses");
        for (const auto node : doc.select_nodes("/MIBX/TREE/*")) {
            const std::string oid = node.node().child("OID").text().get();
            fuzz::Check(!oid.empty() && oid.find_first_not_of("0123456789.") == std::string::npos,
                        "every object has a numeric OID");
        }
    };
    RunJob(job, hooks);
    return 0;
}
