// `qlmib import` as a user runs it: a first import into an install folder
// without a database, then a verbose re-import.

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "MibxFixture.h"

namespace qlmib {
namespace {


class ImportCommand : public test::MibxFixture {};

TEST_F(ImportCommand, CreatesTheDatabaseReportsAndFailsOnErrors) {
    test::TestHome empty(false);
    const auto good = write("good.xml", test::MIBX("<a><OID>1.3</OID></a><b><OID>a.1</OID></b>"));
    const auto missing = (home.folder() / "missing.xml").string();

    const auto first = test::runQlmib(empty.folder(), {"import", good, missing});
    EXPECT_EQ(first.status, 1) << first.err;
    EXPECT_EQ(first.out, "Created a new MIB database " + empty.databasePath() + "\nImporting " + good +
                             " ...\n    File Format = 'Quellon.Net MIB-X 1.0'\n"
                             "OIDCount 2, Duplicates 0, Errors 1, Warnings 0\n");
    EXPECT_EQ(first.err, "Could not load " + missing + "\nNo such file or directory\n") << "lines end in LF";

    const auto second = test::runQlmib(empty.folder(), {"import", "-v", good});
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out, "Importing " + good + " ...\n    File Format = 'Quellon.Net MIB-X 1.0'\n"
                          "    a 1.3 (duplicate)\n    b 1.3.1 (duplicate)\n"
                          "OIDCount 2, Duplicates 2, Errors 0, Warnings 0\n");
    EXPECT_EQ(second.err, "");
}

}  // namespace
}  // namespace qlmib
