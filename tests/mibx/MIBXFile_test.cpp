// The MIB-X tree's subset of the checks; the importer's are exercised through
// ImportMIBX.

#include <gtest/gtest.h>

#include <qlmib/mibx/MIBXFile.h>

#include "MibxFixture.h"

namespace qlmib {
namespace {

using test::MibxFixture;

TEST_F(MibxFixture, FileForTheTreeNeedsNoVersionButOIDAndSyntaxInEveryObject) {
    const auto path = write("tree.xml",
                            "<MIBX><MODULE><NAME>\n  M-MIB\n</NAME></MODULE><TREE>"
                            "<a><OID>1.3</OID><SYNTAX/></a><b><OID>1.3.1</OID></b><c><SYNTAX>X</SYNTAX></c>"
                            "</TREE></MIBX>");
    MIBXFile file;
    ASSERT_TRUE(file.Load(path));
    ASSERT_TRUE(file.CheckModule());
    EXPECT_EQ(file.getModuleName(), "M-MIB");
    std::vector<bool> accepted;
    for (const auto object : file.getTree().children()) accepted.push_back(file.CheckTreeObject(object));
    EXPECT_EQ(accepted, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(file.Message(), path + " is corrupt.");

    EXPECT_FALSE(file.Load(write("broken.xml", "<MIBX>")));
    EXPECT_EQ(file.getModuleName(), "") << "nothing of the file before is left";
    EXPECT_FALSE(file.getTree());
}

}  // namespace
}  // namespace qlmib
