#include <gtest/gtest.h>

#include <qlmib/mibx/MIBXFile.h>

#include "MibxFixture.h"

namespace qlmib {
namespace {

using test::MibxFixture;

// Which of the readers' checks a file passes, in their order.
struct CheckCase {
    const char* label;
    std::string content;
    bool loads, hasVersion, hasModule;
    std::string message;  // of the first check that fails; FILE stands for the path
};

class FileCheck : public MibxFixture, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(FileCheck, FailsAtTheFirstBrokenRuleWithItsText) {
    const auto& c = GetParam();
    const auto path = write("case.xml", c.content);
    std::string expected = c.message;
    if (auto at = expected.find("FILE"); at != std::string::npos) expected.replace(at, 4, path);

    MIBXFile file;
    ASSERT_EQ(file.Load(path), c.loads);
    if (c.loads) {
        EXPECT_EQ(file.CheckVersion(), c.hasVersion);
        if (c.hasVersion) {
            EXPECT_EQ(file.CheckModule(), c.hasModule);
        } else {
            EXPECT_EQ(file.Message(), expected);
            // The tree reads files without a version tag: only the module matters to it.
            EXPECT_EQ(file.CheckModule(), c.hasModule);
            return;
        }
    }
    EXPECT_EQ(file.Message(), expected);
}

const char* const kNotMIBX = "FILE is not a Quellon MIBX file or is corrupt.";

INSTANTIATE_TEST_SUITE_P(
    Cases, FileCheck,
    ::testing::Values(
        CheckCase{"notWellFormed", "<MIBX><VERSION>x</MIBX>", false, false, false,
                  "Could not load FILE\r\nStart-end tags mismatch at line 1, column 19"},
        CheckCase{"wrongRoot", "<MIBS><VERSION>Quellon.Net MIB-X 1.0</VERSION></MIBS>", true, false, false, kNotMIBX},
        CheckCase{"noVersion", "<MIBX><MODULE><NAME>M</NAME></MODULE><TREE/></MIBX>", true, false, true, kNotMIBX},
        CheckCase{"otherVersion", "<MIBX><VERSION>Quellon.Net MIB-X 2.0</VERSION></MIBX>", true, false, false,
                  "FILE is 'Quellon.Net MIB-X 2.0' format. This version of the RAD-Ivazudar/Oriredu only "
                  "supports MIB-X Version 1.0. Please visit the Quellon web site for an update."},
        CheckCase{"versionCase", "<MIBX><VERSION>quellon.net MIB-X 1.0</VERSION></MIBX>", true, false, false,
                  "FILE is 'quellon.net MIB-X 1.0' format. This version of the RAD-Ivazudar/Oriredu only "
                  "supports MIB-X Version 1.0. Please visit the Quellon web site for an update."},
        CheckCase{"noName",
                  "<MIBX><VERSION>Quellon.Net MIB-X 1.0</VERSION><MODULE><DESCRIPTION/></MODULE><TREE/></MIBX>",
                  true, true, false, kNotMIBX},
        CheckCase{"noTree", "<MIBX><VERSION>Quellon.Net MIB-X 1.0</VERSION><MODULE><NAME>M</NAME></MODULE></MIBX>",
                  true, true, false, kNotMIBX},
        CheckCase{"complete",
                  "<MIBX><VERSION>Quellon.Net MIB-X 1.0</VERSION><MODULE><NAME>M</NAME></MODULE><TREE/></MIBX>",
                  true, true, true, ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(MibxFixture, FileForTheTreeNeedsOIDAndSyntaxInEveryObject) {
    const auto path = write("tree.xml",
                            "<MIBX><MODULE><NAME>\n  M-MIB\n</NAME></MODULE><TREE>"
                            "<a><OID>1.3</OID><SYNTAX/></a><b><OID>1.3.1</OID></b><c><SYNTAX>X</SYNTAX></c>"
                            "</TREE></MIBX>");
    MIBXFile file;
    ASSERT_TRUE(file.Load(path));
    ASSERT_TRUE(file.CheckModule()) << "no VERSION and no COMPILED are needed for the tree";
    EXPECT_EQ(file.getModuleName(), "M-MIB");
    std::vector<bool> accepted;
    for (const auto object : file.getTree().children()) accepted.push_back(file.CheckTreeObject(object));
    EXPECT_EQ(accepted, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(file.Message(), path + " is corrupt.");
    EXPECT_FALSE(file.CheckCompiled());
    EXPECT_EQ(file.Message(), path + " is not a Quellon MIBX file or is corrupt.");
}

TEST_F(MibxFixture, FileLoadForgetsTheModuleBefore) {
    MIBXFile file;
    ASSERT_TRUE(file.Load(write("a.xml", "<MIBX><MODULE><NAME>A</NAME></MODULE><TREE/></MIBX>")));
    ASSERT_TRUE(file.CheckModule());
    EXPECT_FALSE(file.Load(write("b.xml", "<MIBX>")));
    EXPECT_EQ(file.getModuleName(), "");
    EXPECT_FALSE(file.getTree());
}

}  // namespace
}  // namespace qlmib
