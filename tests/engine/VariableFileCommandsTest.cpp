#include "tests/engine/VariableStoreFixture.h"
#include "tests/support/TestFiles.h"

namespace tomelet::test {
namespace {

class VariableFileCommandsTest : public VariableStoreTest {
protected:
    tomelet::testing::TemporaryFolder folder;
};

TEST_F(VariableFileCommandsTest, SavedGlobalsComeBackInAnotherRun) {
    const std::string file = (folder / "state.var").string();
    store.SetVariable("[Lines]", "first\r\nsecond\rthird\n");
    store.SetVariable("[Quoted]", "say \"hi\" [#91]x[#93] \xB6 \xE9\xFF");
    store.SetVariable("[*/*scratch]", "not kept");
    store.DefineVariable("[Count]", "Integer", "", false);
    store.SetVariable("[Count]", "42");
    store.SaveVariables(file);
    EXPECT_EQ(lastError(), "");

    VariableStore next;
    next.DefineVariable("[Count]", "Boolean", "", false);
    next.LoadVariables(file, nullptr);
    EXPECT_EQ(next.LookupVariable("Lines"), "first\r\nsecond\rthird\n");
    EXPECT_EQ(next.LookupVariable("Quoted"), store.LookupVariable("Quoted"));
    EXPECT_EQ(next.LookupVariable("*/*scratch"), "");
    // A typed variable converts what it loads, and its refusal stays reported.
    EXPECT_EQ(next.LookupVariable("Count"), "False");
    EXPECT_EQ(next.LookupVariable("LastError"), "\"42\" is not a valid boolean value.");
}

TEST_F(VariableFileCommandsTest, FailuresAreReportedThroughLastError) {
    store.LoadVariables((folder / "missing.var").string(), nullptr);
    EXPECT_NE(lastError(), "");

    store.SetLastError({});
    store.SetVariable("[Kept]", "1");
    store.SaveVariables((folder / "no-such-folder" / "state.var").string());
    EXPECT_NE(lastError(), "");
}

} // namespace
} // namespace tomelet::test
