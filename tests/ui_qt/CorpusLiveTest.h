#pragma once
// Live tests in a program that also runs tests on their own temporary
// databases: each live test points the library at the corpus database again.

#include <cstdlib>

#include <qlmib/mibdata/Globals.h>

#include "LiveFixture.h"

namespace qlmib::test {

class CorpusLiveTest : public LiveTest {
protected:
    void SetUp() override {
        LiveTest::SetUp();
        if (IsSkipped()) return;
        const auto& folder = CorpusHome()->folder();
        setenv("QLMIB_HOME", folder.c_str(), 1);
        setenv("QLMIB_CONFIG_HOME", (folder / "config").c_str(), 1);
        CloseSharedDatabase();
    }
};

}  // namespace qlmib::test
