#include "engine/SystemVariables.h"

#include "engine/LenientNumber.h"
#include "services/Messages.h"
#include "tests/support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace tomelet {
namespace {

using Access = SystemVariableSource::Access;

class FakePublication : public PublicationProvider {
public:
    int index = 3;
    int count = 8;
    bool test = false;
    std::string parameters;
    std::string pageTitle() const override { return "Order"; }
    int pageIndex() const override { return index; }
    int pageListCount() const override { return count; }
    std::string author() const override { return "Ann"; }
    std::string version() const override { return "1.2"; }
    char kind() const override { return 'T'; }
    bool testRun() const override { return test; }
    std::string packageFile() const override { return "/opt/pub/show.exe"; }
    std::string executableFile() const override { return "/opt/pub/show.exe"; }
    std::string commandLineText() const override { return parameters; }
    std::int64_t paletteColours() const override { return 256; }
};

class FakeWindow : public WindowProvider {
public:
    std::vector<std::pair<std::string, std::string>> calls;
    WindowOrder currentOrder = WindowOrder::Normal;
    int left() const override { return 10; }
    int top() const override { return 20; }
    int width() const override { return 800; }
    int height() const override { return 600; }
    int clientWidth() const override { return 790; }
    int clientHeight() const override { return 570; }
    int pageAreaWidth() const override { return 640; }
    int pageAreaHeight() const override { return 480; }
    int clientScreenLeft() const override { return 15; }
    int clientScreenTop() const override { return 45; }
    bool applicationMinimized() const override { return false; }
    bool maximized() const override { return true; }
    WindowOrder order() const override { return currentOrder; }
    std::string caption() const override { return "Caption"; }
    std::string applicationTitle() const override { return "App"; }
    std::uint64_t handle() const override { return 4294967296ULL; }
    std::string focusedObject() const override { return "Edit1"; }
    void setLeft(int value) override { record("left", value); }
    void setTop(int value) override { record("top", value); }
    void setWidth(int value) override { record("width", value); }
    void setHeight(int value) override { record("height", value); }
    void setClientWidth(int value) override { record("clientWidth", value); }
    void setClientHeight(int value) override { record("clientHeight", value); }
    void setPageAreaWidth(int value) override { record("pageWidth", value); }
    void setPageAreaHeight(int value) override { record("pageHeight", value); }
    void requestState(WindowStateRequest request) override {
        record("state", static_cast<int>(request));
    }
    void setOrder(WindowOrder order) override { record("order", static_cast<int>(order)); }
    void setCaption(const std::string& text) override { calls.emplace_back("caption", text); }
    void setApplicationTitle(const std::string& text) override {
        calls.emplace_back("appTitle", text);
    }

private:
    void record(const std::string& what, int value) {
        calls.emplace_back(what, std::to_string(value));
    }
};

class FakeClipboard : public ClipboardProvider {
public:
    std::string content = "copied";
    std::string text() const override { return content; }
    void setText(const std::string& text) override { content = text; }
};

class SystemVariablesTest : public ::testing::Test {
protected:
    void TearDown() override { assignDecimalSymbol(""); }
    std::string read(std::string_view name) const { return variables.read(name, {}); }

    SystemVariables variables;
};

TEST_F(SystemVariablesTest, TheTableHasItsNamesInOrderWithTheirMarks) {
    const auto& table = SystemVariables::table();
    EXPECT_EQ(table.front().name, "PageTitle");
    EXPECT_EQ(table[15].name, "Clipboard");
    EXPECT_EQ(table[49].name, "TomeletVersion");
    EXPECT_EQ(table[63].name, "DecimalSymbol");
    EXPECT_EQ(table.back().name, "WindowsVerBuild");
    std::vector<std::string_view> writable;
    for (const auto& entry : table) {
        if (entry.access == Access::Writable) writable.push_back(entry.name);
    }
    EXPECT_EQ(writable, (std::vector<std::string_view>{
                            "Clipboard", "WindowLeft", "WindowTop", "WindowWidth", "WindowHeight",
                            "WindowState", "PubWidth", "PubHeight", "PubTitle", "MailServer",
                            "CurrentDir", "ClientWidth", "ClientHeight", "WindowOrder", "AppTitle",
                            "PageNumberOffset", "DecimalSymbol"}));
    EXPECT_EQ(variables.access("pagetitle"), Access::ReadOnly);
    EXPECT_EQ(variables.access("CLIPBOARD"), Access::Writable);
    EXPECT_EQ(variables.access("Total"), Access::None);
    EXPECT_EQ(read("Total"), "");
}

TEST_F(SystemVariablesTest, UnboundValuesAreThoseOfTheirAbsence) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"PageTitle", ""},
        {"PageNumber", "0"},
        {"PageCount", "-1"},
        {"Clipboard", ""},
        {"WindowWidth", "0"},
        {"WindowState", "Normal"},
        {"WindowOrder", "Normal"},
        {"CDRomDrive", "Error"},
        {"NetworkDrive", "Error"},
        {"HDSerialNum", "0"},
        {"TomeletVersion", "210629"},
        {"Embedded", "embedded:\\\\\\"},
        {"TLMode", "R"},
        {"MyDocuments", "C:\\My Documents\\"},
        {"ProgramFiles", "C:\\Program Files\\"},
        {"SystemLanguageExt", "<unknown>"},
        {"PageNumberLeft", ""},
        {"PageNumberRight", ""},
        {"PageNumberOffset", "0"},
        {"DecimalSymbol", "."},
        {"WinHandle", "0"},
        {"Self", ""},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(read(name), expected) << name;
    EXPECT_FALSE(read("UserName").empty());
    EXPECT_EQ(read("TempDir").back(), '/');
    EXPECT_EQ(read("CurrentDir").back(), '/');
}

TEST_F(SystemVariablesTest, WritesWithoutAProviderDoNothing) {
    for (const auto& entry : SystemVariables::table()) {
        if (entry.access != Access::Writable || entry.name == "CurrentDir" ||
            entry.name == "DecimalSymbol" || entry.name == "PageNumberOffset") {
            continue;
        }
        const std::string before = read(entry.name);
        variables.write(entry.name, "123");
        EXPECT_EQ(read(entry.name), before) << entry.name;
    }
}

TEST_F(SystemVariablesTest, ClockVariablesShowTheExpansionTime) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    // Monday 7 July 2003, 15:04:05 UTC.
    const ExpansionTime now{std::chrono::seconds(1057590245)};
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Time", "3:04:05 PM"},
        {"Time24", "15:04:05"},
        {"Hour", "15"},
        {"Minute", "04"},
        {"Second", "05"},
        {"DateShort", "7/7/2003"},
        {"DateLong", "Monday, July 7, 2003"},
        {"Month", "July"},
        {"MonthNum", "7"},
        {"Day", "Monday"},
        {"DayNum", "7"},
        {"Year", "2003"},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(variables.read(name, now), expected) << name;
    }
    ::unsetenv("TZ");
    ::tzset();
}

TEST_F(SystemVariablesTest, BoundProvidersGiveTheValues) {
    FakePublication publication;
    FakeWindow window;
    FakeClipboard clipboard;
    variables.bind({&publication, nullptr, &window, &clipboard, nullptr, nullptr});
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"PageTitle", "Order"},
        {"PageNumber", "3"},
        {"P", "3"},
        {"PageCount", "7"},
        {"PubAuthor", "Ann"},
        {"PubVersion", "1.2"},
        {"TLType", "T"},
        {"PubDir", "/opt/pub/"},
        {"PubColors", "256"},
        {"CommandLine", "/opt/pub/show.exe"},
        {"Clipboard", "copied"},
        {"WindowLeft", "10"},
        {"WindowTop", "20"},
        {"WindowWidth", "800"},
        {"WindowHeight", "600"},
        {"ClientWidth", "790"},
        {"ClientHeight", "570"},
        {"PubWidth", "640"},
        {"PubHeight", "480"},
        {"PubLeft", "15"},
        {"PubTop", "45"},
        {"WindowState", "Maximized"},
        {"PubTitle", "Caption"},
        {"AppTitle", "App"},
        {"WinHandle", "4294967296"},
        {"FocusedObject", "Edit1"},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(read(name), expected) << name;

    publication.parameters = "/K Start";
    publication.test = true;
    EXPECT_EQ(read("CommandLine"), "/opt/pub/show.exe\r/K Start");
    EXPECT_EQ(read("TLMode"), "D");
}

TEST_F(SystemVariablesTest, WritesReachTheWindowAndTheClipboard) {
    FakeWindow window;
    FakeClipboard clipboard;
    variables.bind({nullptr, nullptr, &window, &clipboard, nullptr, nullptr});
    variables.write("Clipboard", "pasted");
    EXPECT_EQ(clipboard.content, "pasted");
    variables.write("WindowLeft", "-5");
    variables.write("WindowWidth", "wide");
    variables.write("ClientHeight", "300");
    variables.write("PubWidth", "1024");
    variables.write("WindowState", "  minimized ");
    variables.write("WindowState", "Maximized");
    variables.write("WindowState", "whatever");
    variables.write("WindowOrder", "normal");
    variables.write("WindowOrder", "OnTop");
    variables.write("PubTitle", "New");
    variables.write("PageTitle", "refused");
    const std::vector<std::pair<std::string, std::string>> expected{
        {"left", "-5"},        {"width", "0"}, {"clientHeight", "300"},
        {"pageWidth", "1024"}, {"state", "0"}, {"state", "1"},
        {"state", "2"},        {"order", "1"}, {"caption", "New"}};
    EXPECT_EQ(window.calls, expected);
}

struct PageNumberCase {
    int index;
    int offset;
    std::string_view number, left, right;
};

TEST_F(SystemVariablesTest, PageNumbersFollowTheOffset) {
    FakePublication publication;
    variables.bind({&publication, nullptr, nullptr, nullptr, nullptr, nullptr});
    const PageNumberCase cases[] = {
        {3, 0, "3", "5", "6"}, {3, 1, "2", "4", "5"},  {1, 0, "1", "1", "2"}, {1, 1, "0", "", "1"},
        {1, 2, "-1", "", ""},  {2, -1, "3", "4", "5"}, {0, 0, "0", "", ""},
    };
    for (const PageNumberCase& testCase : cases) {
        publication.index = testCase.index;
        variables.write("PageNumberOffset", std::to_string(testCase.offset));
        EXPECT_EQ(read("PageNumber"), testCase.number) << testCase.index << "/" << testCase.offset;
        EXPECT_EQ(read("PageNumberLeft"), testCase.left)
            << testCase.index << "/" << testCase.offset;
        EXPECT_EQ(read("PageNumberRight"), testCase.right)
            << testCase.index << "/" << testCase.offset;
    }
    variables.write("PageNumberOffset", "two");
    EXPECT_EQ(read("PageNumberOffset"), "0");
}

TEST_F(SystemVariablesTest, WritingTheOffsetNotifiesThePageNumbers) {
    FakePublication publication;
    variables.bind({&publication, nullptr, nullptr, nullptr, nullptr, nullptr});
    std::vector<std::pair<std::string, std::string>> notified;
    variables.setVariableChangedCallback(
        [&](std::string_view name, std::string_view value) { notified.emplace_back(name, value); });
    variables.write("pagenumberoffset", "1");
    EXPECT_EQ(notified,
              (std::vector<std::pair<std::string, std::string>>{{"[PAGENUMBER]", "2"},
                                                                {"[P]", "2"},
                                                                {"[PAGENUMBERLEFT]", "4"},
                                                                {"[PAGENUMBERRIGHT]", "5"}}));
}

TEST_F(SystemVariablesTest, DecimalSymbolReadsAndSetsTheNumberState) {
    variables.write("DecimalSymbol", ",");
    EXPECT_EQ(read("DecimalSymbol"), ",");
    EXPECT_DOUBLE_EQ(readLenientNumber("2,5"), 2.5);
    EXPECT_EQ(formatFixed(2.5, 1), "2,5");
    variables.write("DecimalSymbol", "too long");
    EXPECT_EQ(read("DecimalSymbol"), ".");
}

TEST_F(SystemVariablesTest, CurrentDirChangesTheFolderOrReportsMessage304) {
    testing::TemporaryFolder folder;
    const auto saved = std::filesystem::current_path();
    std::vector<std::string> errors;
    variables.setLastErrorSetter([&](std::string_view text) { errors.emplace_back(text); });
    std::filesystem::create_directory(folder / "Sub");
    variables.write("CurrentDir", folder.path().string() + "\\sub");
    EXPECT_EQ(std::filesystem::canonical(read("CurrentDir")),
              std::filesystem::canonical(folder / "Sub"));
    EXPECT_EQ(read("CurrentDir").back(), '/');
    EXPECT_TRUE(errors.empty());
    variables.write("CurrentDir", (folder / "missing").string());
    variables.write("CurrentDir", "");
    EXPECT_EQ(errors, (std::vector<std::string>{GetMessageText(304), GetMessageText(304)}));
    EXPECT_EQ(GetMessageText(304), "Path does not exist.");
    std::filesystem::current_path(saved);
}

} // namespace
} // namespace tomelet
