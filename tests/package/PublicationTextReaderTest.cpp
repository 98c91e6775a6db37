#include "package/PublicationTextReader.h"

#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

namespace tomelet {
namespace {

std::string joinLines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

PublicationReadResult readText(const std::string& text,
                               const PublicationReadOptions& options = {}) {
    MemoryInputStream stream(text);
    return readPublicationText(stream, options);
}

PublicationModel read(std::initializer_list<std::string> lines,
                      const PublicationReadOptions& options = {}) {
    PublicationReadResult result = readText(joinLines(lines), options);
    EXPECT_TRUE(result.success) << result.errorMessage;
    return std::move(result.model);
}

std::string show(bool value) {
    return value ? "true" : "false";
}
std::string show(std::int32_t value) {
    return std::to_string(value);
}
std::string show(const std::optional<std::int32_t>& value) {
    return value ? std::to_string(*value) : "none";
}

struct SettingCase {
    std::string description;
    std::string text;
    std::function<std::string(const PublicationModel&)> field;
    std::string expected;
};

void PrintTo(const SettingCase& setting, std::ostream* out) {
    *out << setting.description;
}

class PublicationSettingTest : public testing::TestWithParam<SettingCase> {};

TEST_P(PublicationSettingTest, ReadsTheKey) {
    const PublicationReadResult result = readText(GetParam().text);
    ASSERT_TRUE(result.success) << result.errorMessage;
    EXPECT_EQ(GetParam().field(result.model), GetParam().expected);
}

const auto title = [](const PublicationModel& model) { return model.settings.title; };
const auto allowEscape = [](const PublicationModel& model) {
    return show(model.settings.allowEscape);
};
const auto screenWidth = [](const PublicationModel& model) {
    return show(model.settings.screenWidth);
};
const auto startupAction = [](const PublicationModel& model) {
    return model.settings.startupAction;
};

INSTANTIATE_TEST_SUITE_P(
    LexicalRules, PublicationSettingTest,
    testing::Values(
        SettingCase{"empty value keeps the previous one", joinLines({"TITLE=Demo", "TITLE="}),
                    title, "Demo"},
        SettingCase{"keys match without case", joinLines({"Title=Demo"}), title, "Demo"},
        SettingCase{"key trimmed of blanks and controls", joinLines({" \t\x01TITLE=Demo"}), title,
                    "Demo"},
        SettingCase{"value kept untrimmed", joinLines({"TITLE= Demo \t"}), title, " Demo \t"},
        SettingCase{"blank before = makes another key", joinLines({"TITLE =Demo"}), title, ""},
        SettingCase{"value keeps every later =", joinLines({"STARTUPACTION=If \"[a]=1\""}),
                    startupAction, "If \"[a]=1\""},
        SettingCase{"lines value converts 0xB6",
                    joinLines({"STARTUPACTION=a\xB6"
                               "b"}),
                    startupAction, "a\r\nb"},
        SettingCase{"text value keeps 0xB6",
                    joinLines({"TITLE=a\xB6"
                               "b"}),
                    title,
                    "a\xB6"
                    "b"},
        SettingCase{"later line wins", joinLines({"TITLE=One", "TITLE=Two"}), title, "Two"},
        SettingCase{"last line without CR LF", "AUTHOR=x\r\nTITLE=Last", title, "Last"},
        SettingCase{"lone CR and LF stay in the value", "TITLE=a\rb\nc\r\n", title, "a\rb\nc"},
        SettingCase{"unknown keys are ignored", joinLines({"TITLEX=Other", "TITLE=Demo"}), title,
                    "Demo"},
        SettingCase{"boolean default", "", allowEscape, "true"},
        SettingCase{"boolean yes", joinLines({"ALLOWESC=yes"}), allowEscape, "true"},
        SettingCase{"boolean True is false", joinLines({"ALLOWESC=True"}), allowEscape, "false"},
        SettingCase{"boolean empty keeps default", joinLines({"ALLOWESC="}), allowEscape, "true"},
        SettingCase{"integer default", "", screenWidth, "640"},
        SettingCase{"integer $ hex", joinLines({"SCREENWIDTH=$FF"}), screenWidth, "255"},
        SettingCase{"integer x hex", joinLines({"SCREENWIDTH=x1F"}), screenWidth, "31"},
        SettingCase{"integer 0x hex", joinLines({"SCREENWIDTH=0x1f"}), screenWidth, "31"},
        SettingCase{"integer negative", joinLines({"SCREENWIDTH=  -5"}), screenWidth, "-5"},
        SettingCase{"malformed integer ignored", joinLines({"SCREENWIDTH=800", "SCREENWIDTH=9px"}),
                    screenWidth, "800"},
        SettingCase{
            "SCREENCOLORS 24 ignored", joinLines({"SCREENCOLORS=24"}),
            [](const PublicationModel& model) { return show(model.settings.screenColours); },
            "none"},
        SettingCase{
            "SCREENCOLORS 256 taken", joinLines({"SCREENCOLORS=256"}),
            [](const PublicationModel& model) { return show(model.settings.screenColours); },
            "256"},
        SettingCase{"CACHESIZE below 1 counts as 1", joinLines({"CACHESIZE=-3"}),
                    [](const PublicationModel& model) { return show(model.settings.cacheSize); },
                    "1"},
        SettingCase{
            "CUSTOMFONTSTYLE drops high bits", joinLines({"CUSTOMFONTSTYLE=31"}),
            [](const PublicationModel& model) { return show(model.settings.customFontStyle); },
            "15"},
        SettingCase{"SUBROUTINEACTION is a lines setting",
                    joinLines({"SUBROUTINEACTION=:Sub\xB6"
                               "Return"}),
                    [](const PublicationModel& model) { return model.settings.subroutineAction; },
                    ":Sub\r\nReturn"},
        SettingCase{"localised text", joinLines({"L_OK=Fine"}),
                    [](const PublicationModel& model) {
                        return model.localisedTexts[static_cast<std::size_t>(LocalisedText::Ok)];
                    },
                    "Fine"},
        SettingCase{
            "localised text keeps | and 0xB6", joinLines({"l_donwloadfile=a|b\xB6"}),
            [](const PublicationModel& model) {
                return model.localisedTexts[static_cast<std::size_t>(LocalisedText::DownloadFile)];
            },
            "a|b\xB6"},
        SettingCase{
            "marker line with = is not the marker", joinLines({"MASTERPAGE=x", "PAGECOLOR=5"}),
            [](const PublicationModel& model) { return show(model.pages[0].background.colour); },
            "16777215"}));

TEST(PublicationTextReaderTest, EmptyTextGivesTheDefaults) {
    const PublicationModel model = read({});
    ASSERT_EQ(model.pages.size(), 1u);
    EXPECT_EQ(model.pages[0].name, "");
    EXPECT_EQ(model.settings.screenHeight, 480);
    EXPECT_EQ(model.settings.windowProperties, 31);
    EXPECT_EQ(model.settings.customFontName, "Arial");
    EXPECT_EQ(model.settings.shapeTransparentColour, kImageOwnTransparentColour);
    EXPECT_FALSE(model.settings.screenColours);
    EXPECT_TRUE(model.localisedTexts[static_cast<std::size_t>(LocalisedText::PleaseWait)].empty());
    EXPECT_TRUE(model.mainMenu.empty());
    const PageBackground& background = model.pages[0].background;
    EXPECT_TRUE(background.showMasterPage);
    EXPECT_EQ(background.colour, 16777215);
    EXPECT_EQ(background.gradientColour1, 16711680);
    EXPECT_EQ(background.gradientColour2, 255);
    EXPECT_EQ(background.gradientAngle, 1);
    EXPECT_FALSE(background.palette);
}

TEST(PublicationTextReaderTest, PagesGetUniqueNames) {
    const PublicationModel model =
        read({"NEWPAGE=Intro", "NEWPAGE=Intro", "NEWPAGE=intro", "NEWPAGE=Page 1", "NEWPAGE=Page 1",
              "NEWPAGE=My page 2", "NEWPAGE=My page 2", "NEWPAGE=Page1"});
    std::vector<std::string> names;
    for (const PageDefinition& page : model.pages)
        names.push_back(page.name);
    EXPECT_EQ(names, (std::vector<std::string>{"", "Intro", "Intro1", "intro2", "Page 1", "Page1",
                                               "My page 2", "My page 1", "Page2"}));
}

TEST(PublicationTextReaderTest, ManyPagesOfOneNameStayUnique) {
    std::string text;
    for (int index = 0; index < 20000; ++index)
        text += "NEWPAGE=My chapter 7\r\n";
    const PublicationReadResult result = readText(text);
    ASSERT_EQ(result.model.pages.size(), 20001u);
    EXPECT_EQ(result.model.pages[1].name, "My chapter 7");
    EXPECT_EQ(result.model.pages[2].name, "My chapter 1");
    EXPECT_EQ(result.model.pages[7].name, "My chapter 6");
    EXPECT_EQ(result.model.pages[8].name, "My chapter 8"); // 7 is taken
    EXPECT_EQ(result.model.pages[20000].name, "My chapter 20000");
}

TEST(PublicationTextReaderTest, PageKeysGoToTheCurrentPage) {
    const PublicationModel model =
        read({"PAGECOLOR=1", "MASTERPAGE", "PAGECOLOR=2", "NEWPAGE=One", "PAGESTYLE=2",
              "PGENTERACTION=a\xB6"
              "b",
              "SHOWMASTERPAGE=No", "MASTERPAGE", "PAGEWALLPAPER=back.jpg", "NEWPAGE=Two",
              "PAGEPALETTE=255 65280 ", "PAGECOLOR=oops"});
    ASSERT_EQ(model.pages.size(), 3u);
    EXPECT_EQ(model.pages[0].background.colour, 2);
    EXPECT_EQ(model.pages[0].background.wallpaperFile, "back.jpg");
    EXPECT_EQ(model.pages[1].background.style, 2);
    EXPECT_EQ(model.pages[1].background.enterAction, "a\r\nb");
    EXPECT_FALSE(model.pages[1].background.showMasterPage);
    ASSERT_TRUE(model.pages[2].background.palette);
    const PagePalette& palette = *model.pages[2].background.palette;
    EXPECT_EQ(palette[0], 255);
    EXPECT_EQ(palette[1], 65280);
    EXPECT_EQ(palette[2], 0);
    EXPECT_EQ(palette[255], 0);
    EXPECT_EQ(model.pages[2].background.colour, 16777215);
}

TEST(PublicationTextReaderTest, ObjectKeysGoToTheMostRecentValidObject) {
    const PublicationModel model =
        read({"OBJECTTYPE=5", "NAME=Orphan", "MASTERPAGE", "NAME=NoObjectYet", "OBJECTTYPE=5",
              "NAME=Box", "FILLCOLOR=1", "OBJECTTYPE=99", "FILLCOLOR=255", "OBJECTTYPE=1",
              "LINESTYLE=6", "OBJECTTYPE=abc", "LINESTYLE=9", "TABORDER=65537", "FILLPATTERN=257",
              "FILLMODE=Yes", "VISIBLE=no", "X=-136", "Y=$10"});
    ASSERT_EQ(model.pages[0].objects.size(), 1u);
    const ObjectDefinition& box = model.pages[0].objects[0];
    EXPECT_EQ(box.type, ObjectType::Rectangle);
    EXPECT_EQ(box.name, "Box");
    EXPECT_EQ(box.fillColour, 255);
    EXPECT_EQ(box.lineStyle, 6);
    EXPECT_EQ(box.tabOrder, 1);
    EXPECT_EQ(box.fillPattern, 1);
    EXPECT_EQ(box.transparent, true);
    EXPECT_EQ(box.visible, false);
    EXPECT_EQ(box.enabled, std::nullopt);
    EXPECT_EQ(box.left, -136);
    EXPECT_EQ(box.top, 16);
    EXPECT_EQ(box.width, std::nullopt);
}

TEST(PublicationTextReaderTest, ClassKeysKeepTextOrderForTheirClassOnly) {
    const PublicationModel model =
        read({"MASTERPAGE", "OBJECTTYPE=3", "TEXT=Line 1\xB6Line 2", "PICTSTYLE=1", "HINT=Press",
              "OBJACTION=GotoPage \"Order\"", "TEXT=Again", "OBJECTTYPE=4", "PICTZOOMFACTOR=5",
              "PICTSTYLE=2", "TEXT=ignored", "OBJECTTYPE=14", "VARNAME=Status",
              "TITLEVARNAME=[Title", "URLVARNAME=Url]", "SCROLLBAR=Yes"});
    const auto& objects = model.pages[0].objects;
    ASSERT_EQ(objects.size(), 3u);

    using Values = std::vector<std::pair<PublicationKey, std::string>>;
    const auto values = [](const ObjectDefinition& object) {
        Values result;
        for (const ObjectKeyValue& entry : object.classKeys)
            result.emplace_back(entry.key, entry.value);
        return result;
    };
    EXPECT_EQ(values(objects[0]), (Values{{PublicationKey::Text, "Line 1\r\nLine 2"},
                                          {PublicationKey::Hint, "Press"},
                                          {PublicationKey::Action, "GotoPage \"Order\""},
                                          {PublicationKey::Text, "Again"}}));
    EXPECT_EQ(values(objects[1]), (Values{{PublicationKey::PictureZoomFactor, "5"},
                                          {PublicationKey::PictureStyle, "2"}}));
    EXPECT_EQ(values(objects[2]), (Values{{PublicationKey::VariableName, "[Status]"},
                                          {PublicationKey::TitleVariableName, "[Title]"},
                                          {PublicationKey::UrlVariableName, "[Url]"},
                                          {PublicationKey::ScrollBar, "Yes"}}));
}

TEST(PublicationTextReaderTest, LineEndPointsTakeEffectWithY2) {
    const PublicationModel model =
        read({"MASTERPAGE", "OBJECTTYPE=7", "X1=1", "Y1=2", "X2=3", "OBJECTTYPE=7", "X1=1", "Y1=2",
              "X2=3", "Y2=4", "X1=70", "Y1=80", "X2=90", "OBJECTTYPE=7", "Y2=9", "OBJECTTYPE=5",
              "X1=1", "Y2=2"});
    const auto& objects = model.pages[0].objects;
    ASSERT_EQ(objects.size(), 4u);
    EXPECT_FALSE(objects[0].lineEndPoints);
    ASSERT_TRUE(objects[1].lineEndPoints);
    EXPECT_EQ(objects[1].lineEndPoints->x1, 1);
    EXPECT_EQ(objects[1].lineEndPoints->y1, 2);
    EXPECT_EQ(objects[1].lineEndPoints->x2, 3);
    EXPECT_EQ(objects[1].lineEndPoints->y2, 4);
    // The end points of one line do not carry over to the next.
    ASSERT_TRUE(objects[2].lineEndPoints);
    EXPECT_EQ(objects[2].lineEndPoints->x1, 0);
    EXPECT_EQ(objects[2].lineEndPoints->y2, 9);
    EXPECT_TRUE(objects[1].classKeys.empty());
    EXPECT_FALSE(objects[3].lineEndPoints);
}

TEST(PublicationTextReaderTest, GroupsAndContainersHoldTheirObjects) {
    const PublicationModel model = read(
        {"NEWPAGE=One", "OBJECTTYPE=20", "NAME=Group", "GROUPBEGIN", "OBJECTTYPE=5", "NAME=Inside",
         "X=10", "OBJECTTYPE=21", "CONTAINERBEGIN", "OBJECTTYPE=3", "NAME=Deep", "CONTAINEREND",
         "NAME=Renamed", "GROUPEND", "FILLCOLOR=7", "OBJECTTYPE=5", "NAME=After"});
    const auto& objects = model.pages[1].objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].name, "Group");
    EXPECT_EQ(objects[1].name, "After");
    ASSERT_EQ(objects[0].children.size(), 2u);
    EXPECT_EQ(objects[0].children[0].left, 10);
    const ObjectDefinition& container = objects[0].children[1];
    ASSERT_EQ(container.children.size(), 1u);
    // After an end marker, keys still go to the most recently created object.
    EXPECT_EQ(container.children[0].name, "Renamed");
    EXPECT_EQ(container.children[0].fillColour, 7);
}

TEST(PublicationTextReaderTest, EndMarkerAtTopLevelEndsReading) {
    const PublicationModel model = read(
        {"TITLE=Before", "MASTERPAGE", "OBJECTTYPE=5", "GROUPEND", "TITLE=After", "NEWPAGE=Lost"});
    EXPECT_EQ(model.settings.title, "Before");
    EXPECT_EQ(model.pages.size(), 1u);
}

TEST(PublicationTextReaderTest, TextMayEndInsideAGroup) {
    const PublicationModel model =
        read({"MASTERPAGE", "OBJECTTYPE=20", "GROUPBEGIN", "OBJECTTYPE=5", "NAME=Last"});
    ASSERT_EQ(model.pages[0].objects.size(), 1u);
    ASSERT_EQ(model.pages[0].objects[0].children.size(), 1u);
    EXPECT_EQ(model.pages[0].objects[0].children[0].name, "Last");
}

TEST(PublicationTextReaderTest, MenusNestIntoTheMostRecentItem) {
    const PublicationModel model =
        read({"MENUBEGIN", "MENUTEXT=before any item", "MENUNAME=File", "MENUBEGIN",
              "MENUNAME=Open", "MENUTEXT=^Open [Doc]",
              "MENUACTION=Run\xB6"
              "Exit",
              "MENUSTATE=7", "MENUKEY=$10000F", "MENUVAR=Opened", "MENUIMAGE=open.png",
              "MENUIMTRANSCLR=255", "TITLE=not a menu key", "MENUNAME=Check", "MENUSTATE=15",
              "MENUEND", "MENUNAME=Help", "MENUEND", "MENUNAME=Outside"});
    EXPECT_EQ(model.settings.title, "");
    ASSERT_EQ(model.mainMenu.size(), 2u);
    const MenuItemDefinition& file = model.mainMenu[0];
    EXPECT_EQ(file.name, "File");
    EXPECT_EQ(file.caption, "File");
    EXPECT_TRUE(file.visible());
    EXPECT_TRUE(file.enabled());
    EXPECT_FALSE(file.checkable());
    ASSERT_EQ(file.children.size(), 2u);
    const MenuItemDefinition& open = file.children[0];
    EXPECT_EQ(open.caption, "^Open [Doc]");
    EXPECT_EQ(open.action, "Run\r\nExit");
    EXPECT_TRUE(open.visible());
    EXPECT_TRUE(open.enabled());
    EXPECT_FALSE(open.checkable());
    EXPECT_FALSE(open.checked());
    EXPECT_EQ(open.shortcut, 15);
    EXPECT_EQ(open.checkVariable, "Opened");
    EXPECT_EQ(open.imageFile, "open.png");
    EXPECT_EQ(open.imageTransparentColour, 255);
    EXPECT_TRUE(file.children[1].checkable());
    EXPECT_TRUE(file.children[1].checked());
    EXPECT_EQ(model.mainMenu[1].name, "Help");
    EXPECT_EQ(model.mainMenu[1].imageTransparentColour, kImageOwnTransparentColour);
}

TEST(PublicationTextReaderTest, SecondMainMenuReplacesTheFirst) {
    const PublicationModel model =
        read({"MENUBEGIN", "MENUNAME=Old", "MENUEND", "MENUBEGIN", "MENUBEGIN", "MENUNAME=Dropped",
              "MENUEND", "MENUNAME=New", "MENUEND"});
    ASSERT_EQ(model.mainMenu.size(), 1u);
    EXPECT_EQ(model.mainMenu[0].name, "New");
    EXPECT_TRUE(model.mainMenu[0].children.empty());
}

TEST(PublicationTextReaderTest, TrayMenuOnlyForTrayPublications) {
    const std::initializer_list<std::string> lines = {
        "MENUBEGIN",    "MENUNAME=Main", "MENUEND", "TRAYMENUBEGIN",  "MENUNAME=Show", "MENUBEGIN",
        "MENUNAME=Sub", "MENUEND",       "MENUEND", "MENUNAME=Stray", "TITLE=Title"};
    PublicationReadOptions trayPublication;
    trayPublication.trayPublication = true;
    const PublicationModel application = read(lines);
    ASSERT_EQ(application.mainMenu.size(), 1u);
    EXPECT_EQ(application.mainMenu[0].name, "Main");
    EXPECT_TRUE(application.trayMenu.empty());
    EXPECT_EQ(application.settings.title, "Title");

    const PublicationModel tray = read(lines, trayPublication);
    ASSERT_EQ(tray.trayMenu.size(), 1u);
    EXPECT_EQ(tray.trayMenu[0].name, "Show");
    ASSERT_EQ(tray.trayMenu[0].children.size(), 1u);
    EXPECT_EQ(tray.mainMenu.size(), 1u);
}

TEST(PublicationTextReaderTest, EmbeddedFilesOnlyInATestRun) {
    const std::initializer_list<std::string> lines = {"EMBEDDEDFILES=logo.png=C:\\pub\\logo.png"};
    EXPECT_TRUE(read(lines).embeddedFiles.empty());
    PublicationReadOptions testRun;
    testRun.testRun = true;
    const PublicationModel testRunModel = read(lines, testRun);
    EXPECT_EQ(testRunModel.embeddedFiles.find("LOGO.PNG"), "C:\\pub\\logo.png");
}

TEST(PublicationTextReaderTest, ReportsProgressInChunks) {
    std::vector<std::uint64_t> reports;
    PublicationReadOptions options;
    options.progress = [&reports](std::uint64_t bytes) { reports.push_back(bytes); };
    const std::string text = "TITLE=" + std::string(5000 - 6, 'a');
    MemoryInputStream stream(text);
    ASSERT_TRUE(readPublicationText(stream, options).success);
    EXPECT_EQ(reports, (std::vector<std::uint64_t>{2048, 4096, 5000}));
}

class FailingStream final : public InputStream {
public:
    explicit FailingStream(std::string prefix) : prefix_(std::move(prefix)), inner_(prefix_) {}
    std::size_t read(char* buffer, std::size_t count) override {
        const std::size_t taken = inner_.read(buffer, count);
        if (taken == 0) throw StreamError("The package entry is damaged.");
        return taken;
    }

private:
    std::string prefix_;
    MemoryInputStream inner_;
};

TEST(PublicationTextReaderTest, StreamErrorFailsTheLoad) {
    FailingStream stream(joinLines({"TITLE=Partial"}));
    const PublicationReadResult result = readPublicationText(stream);
    EXPECT_FALSE(result.success);
    EXPECT_EQ(result.errorMessage, "The package entry is damaged.");
    EXPECT_EQ(result.model.settings.title, "Partial");
}

TEST(PublicationTextReaderTest, NestingIsBounded) {
    const auto nested = [](std::size_t depth) {
        std::string text = "MASTERPAGE\r\n";
        for (std::size_t level = 0; level < depth; ++level)
            text += "OBJECTTYPE=20\r\nGROUPBEGIN\r\n";
        return text + "OBJECTTYPE=5\r\nNAME=Innermost\r\n";
    };
    const PublicationReadResult deepest = readText(nested(kMaximumPublicationNesting));
    ASSERT_TRUE(deepest.success) << deepest.errorMessage;
    const ObjectDefinition* object = &deepest.model.pages[0].objects.at(0);
    for (std::size_t level = 0; level < kMaximumPublicationNesting; ++level)
        object = &object->children.at(0);
    EXPECT_EQ(object->name, "Innermost");

    const PublicationReadResult tooDeep = readText(nested(kMaximumPublicationNesting + 1));
    EXPECT_FALSE(tooDeep.success);
    EXPECT_NE(tooDeep.errorMessage.find("levels deep"), std::string::npos);
}

} // namespace
} // namespace tomelet
