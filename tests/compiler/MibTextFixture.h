#pragma once
// Small MIB text fixtures written into a temporary folder, compiled against
// the shared corpus for the SMI base modules.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <qlmib/compiler/MibCompiler.h>

#include "TestHome.h"

namespace qlmib::test {

class MibTextFixture : public ::testing::Test {
protected:
    void SetUp() override {
        corpus_ = corpusFolder();
        if (corpus_.empty()) GTEST_SKIP() << "the MIB corpus ../shared/mibs is absent";
    }

    std::filesystem::path write(const std::string& fileName, const std::string& text) {
        const auto path = home_.folder() / fileName;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    compiler::CompileReport compile(const std::vector<std::string>& requests) {
        compiler::MibCompiler compiler({{home_.folder(), corpus_}, false});
        return compiler.compile(requests);
    }

    // An SMIv2 module whose identity `identity` sits at enterprises.`arc`.
    static std::string module(const std::string& name, const std::string& imports, const std::string& body,
                              const std::string& revisions = "", const std::string& identity = "qlTest",
                              int arc = 99990) {
        return name + " DEFINITIONS ::= BEGIN\n"
               "IMPORTS MODULE-IDENTITY, OBJECT-TYPE, NOTIFICATION-TYPE, Integer32, enterprises FROM SNMPv2-SMI\n" +
               imports +
               ";\n" +
               identity + " MODULE-IDENTITY\n"
               "    LAST-UPDATED \"202401150000Z\"\n"
               "    ORGANIZATION \"QL\"\n"
               "    CONTACT-INFO \"nobody\"\n"
               "    DESCRIPTION \"Fixture.\"\n" +
               (revisions.empty() ? "    REVISION \"202401150000Z\"\n    DESCRIPTION \"First.\"\n" : revisions) +
               "    ::= { enterprises " + std::to_string(arc) + " }\n" + body + "END\n";
    }

    static std::string scalar(const std::string& name, const std::string& syntax, int arc,
                              const std::string& parent = "qlTest") {
        return name + " OBJECT-TYPE\n    SYNTAX " + syntax +
               "\n    MAX-ACCESS read-only\n    STATUS current\n    DESCRIPTION \"A scalar.\"\n    ::= { " + parent +
               " " + std::to_string(arc) + " }\n";
    }

    TestHome home_{false};
    std::string corpus_;
};

inline const compiler::MibObject* findObject(const compiler::CompiledModule& module, const std::string& name) {
    for (const auto& object : module.objects) {
        if (object.name == name) return &object;
    }
    return nullptr;
}

}  // namespace qlmib::test
