#include "tools/Manifest.h"

#include "platform/CodePage.h"
#include "tools/EntryNaming.h"
#include "tools/FileInputStream.h"

#include <charconv>
#include <limits>
#include <map>

namespace tomelet {
namespace {

constexpr std::int64_t largestInt32 = std::numeric_limits<std::int32_t>::max();

constexpr std::string_view help =
    R"(The manifest (package.manifest in the publication folder, or --manifest FILE)
is a UTF-8 text with one setting or entry a line. Words are separated by blanks;
double quotes keep blanks inside a word ("C:\My Pictures\logo.png"); "\" is an
ordinary character. A word that starts with "#" starts a comment. Every setting
may be given once.

Settings (the start-up values of the package directory):
  kind application|screen-saver|tray   publication kind (default application)
  single-instance yes|no               only one copy may run (default no)
  display WIDTH HEIGHT DEPTH           change the display mode at start
                                       (applications only)
  splash NAME [progress-bar] [frame]   splash image entry and its options
  preview NAME                         screen-saver preview image entry
                                       (screen savers only)
  test-run off|single-page|on          test-run mode (default off)
  start-page N                         page to start on (test-run on only)
  debugger-folder TEXT                 the four texts of a test run (test runs
  function-folder TEXT                 only): the debugger library's folder, the
  button-folder TEXT                   folders for function files and button
  icon TEXT                            library images, the application icon file

Entries, in package order:
  entry NAME [source=FILE] [type=N] [compress=yes|no] [size=WxH]
             [transparent=yes|no] [no-data]
  NAME     the name the publication uses: "RUNTIME.PUB", "embedded:\\\logo.png",
           "C:\Work\pics\logo.png" or a plain or relative name ("pics\logo.png").
  source   the file in the publication folder. Default: the name's file-name
           part for "embedded:" and drive-letter names ("logo.png"), otherwise
           the name with "\" read as "/" ("pics/logo.png").
  type     1 file, 3 picture, 6 font, 10 plug-in, 11 plug-in support file, ...
           Default: 3 for .png .gif .bmp .jpg .jpeg .jpe .jfif, 6 for .ttf .otf
           .fon, 10 for .dll, otherwise 1.
  compress default yes.
  size, transparent
           pictures only; read from the PNG, GIF, BMP or JPEG header when not
           given (a PNG with alpha or tRNS, or a GIF with a transparent colour, is
           transparent).
  no-data  an entry without data (a plug-in expected beside the package); no
           source.
Without entry lines the package holds RUNTIME.PUB and every other file of the
folder (except the manifest and names starting with "."), named by their
relative paths with "\" separators. RUNTIME.PUB is always packed first; when no
entry line names it, it comes from the folder's RUNTIME.PUB.
)";

class LineReader {
public:
    LineReader(const std::string& fileName, int line) : fileName_(fileName), line_(line) {}

    [[noreturn]] void fail(const std::string& message) const {
        throw ManifestError(fileName_ + ":" + std::to_string(line_) + ": " + message);
    }

    int line() const { return line_; }

private:
    const std::string& fileName_;
    int line_;
};

std::vector<std::string> splitWords(std::string_view text, const LineReader& reader) {
    std::vector<std::string> words;
    std::size_t position = 0;
    while (true) {
        while (position < text.size() && (text[position] == ' ' || text[position] == '\t'))
            ++position;
        if (position == text.size() || text[position] == '#') return words;
        std::string word;
        while (position < text.size() && text[position] != ' ' && text[position] != '\t') {
            if (text[position] != '"') {
                word += text[position++];
                continue;
            }
            const std::size_t closing = text.find('"', position + 1);
            if (closing == std::string_view::npos) reader.fail("a double quote is not closed");
            word.append(text.substr(position + 1, closing - position - 1));
            position = closing + 1;
        }
        words.push_back(std::move(word));
    }
}

std::string lowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

bool readYesNo(std::string_view value, std::string_view what, const LineReader& reader) {
    const std::string word = lowerAscii(value);
    if (word == "yes") return true;
    if (word == "no") return false;
    reader.fail(std::string(what) + " must be yes or no, not \"" + std::string(value) + "\"");
}

std::int64_t readNumber(std::string_view value, std::int64_t smallest, std::int64_t largest,
                        std::string_view what, const LineReader& reader) {
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size())
        reader.fail(std::string(what) + " must be a whole number, not \"" + std::string(value) +
                    "\"");
    if (number < smallest || number > largest)
        reader.fail(std::string(what) + " must be between " + std::to_string(smallest) + " and " +
                    std::to_string(largest) + ", not " + std::string(value));
    return number;
}

std::string toCodePage(std::string_view utf8, std::string_view what, const LineReader& reader) {
    std::optional<std::string> bytes = toCodePageExactly(utf8);
    if (!bytes)
        reader.fail(std::string(what) + " \"" + std::string(utf8) + "\" has characters the " +
                    std::string(CodePage::current().name()) + " code page cannot hold");
    if (bytes->size() > largestEntryName)
        reader.fail(std::string(what) + " is " + std::to_string(bytes->size()) +
                    " bytes long; a package holds at most " + std::to_string(largestEntryName));
    return std::move(*bytes);
}

void expectValues(const std::vector<std::string>& words, std::size_t smallest, std::size_t largest,
                  std::string_view usage, const LineReader& reader) {
    const std::size_t count = words.size() - 1;
    if (count < smallest || count > largest) reader.fail("expected: " + std::string(usage));
}

// Some settings only mean something with others; checked once the whole file is read, so
// their order does not matter.
void checkCombinations(const Manifest& manifest) {
    const PackageDirectory& directory = manifest.directory;
    auto failAt = [&](const std::string& setting, const std::string& message) {
        LineReader(manifest.fileName, manifest.settingLines.at(setting)).fail(message);
    };
    auto given = [&](const std::string& setting) {
        return manifest.settingLines.contains(setting);
    };
    if (given("display") && directory.publicationKind != PublicationKind::application)
        failAt("display", "display applies to applications only (kind application)");
    if (given("preview") && directory.publicationKind != PublicationKind::screenSaver)
        failAt("preview", "preview applies to screen savers only (kind screen-saver)");
    if (given("start-page") && directory.testRunMode != TestRunMode::testRun)
        failAt("start-page", "start-page needs test-run on");
    for (const char* text : {"debugger-folder", "function-folder", "button-folder", "icon"})
        if (given(text) && !directory.isTestRun())
            failAt(text, std::string(text) + " applies to test runs only (test-run on or " +
                             "single-page)");
}

void readSetting(const std::vector<std::string>& words, Manifest& manifest,
                 const LineReader& reader) {
    PackageDirectory& directory = manifest.directory;
    const std::string setting = lowerAscii(words[0]);
    if (setting == "kind") {
        expectValues(words, 1, 1, "kind application|screen-saver|tray", reader);
        const std::string kind = lowerAscii(words[1]);
        if (kind == "application")
            directory.publicationKind = PublicationKind::application;
        else if (kind == "screen-saver")
            directory.publicationKind = PublicationKind::screenSaver;
        else if (kind == "tray")
            directory.publicationKind = PublicationKind::trayApplication;
        else
            reader.fail("kind must be application, screen-saver or tray, not \"" + words[1] + "\"");
    } else if (setting == "single-instance") {
        expectValues(words, 1, 1, "single-instance yes|no", reader);
        directory.singleInstance = readYesNo(words[1], "single-instance", reader);
    } else if (setting == "display") {
        expectValues(words, 3, 3, "display WIDTH HEIGHT DEPTH", reader);
        directory.changeDisplay = true;
        directory.displayWidth =
            static_cast<std::int32_t>(readNumber(words[1], 1, largestInt32, "the width", reader));
        directory.displayHeight =
            static_cast<std::int32_t>(readNumber(words[2], 1, largestInt32, "the height", reader));
        directory.displayDepth =
            static_cast<std::uint8_t>(readNumber(words[3], 1, 255, "the depth", reader));
    } else if (setting == "splash") {
        expectValues(words, 1, 3, "splash NAME [progress-bar] [frame]", reader);
        directory.splashImage = toCodePage(words[1], "the splash image name", reader);
        for (std::size_t index = 2; index < words.size(); ++index) {
            const std::string option = lowerAscii(words[index]);
            const std::uint8_t bit = option == "progress-bar" ? SplashOption::progressBar
                                     : option == "frame"      ? SplashOption::frame
                                                              : 0;
            if (bit == 0)
                reader.fail("splash options are progress-bar and frame, not \"" + words[index] +
                            "\"");
            if (directory.splashOptions & bit) reader.fail(option + " is given twice");
            directory.splashOptions |= bit;
        }
    } else if (setting == "preview") {
        expectValues(words, 1, 1, "preview NAME", reader);
        directory.previewImage = toCodePage(words[1], "the preview image name", reader);
    } else if (setting == "test-run") {
        expectValues(words, 1, 1, "test-run off|single-page|on", reader);
        const std::string mode = lowerAscii(words[1]);
        if (mode == "off")
            directory.testRunMode = TestRunMode::normal;
        else if (mode == "single-page")
            directory.testRunMode = TestRunMode::singlePage;
        else if (mode == "on")
            directory.testRunMode = TestRunMode::testRun;
        else
            reader.fail("test-run must be off, single-page or on, not \"" + words[1] + "\"");
    } else if (setting == "start-page") {
        expectValues(words, 1, 1, "start-page N", reader);
        directory.startPage =
            static_cast<std::int32_t>(readNumber(words[1], 1, largestInt32, "start-page", reader));
    } else {
        static const std::map<std::string, std::size_t> testRunTexts = {
            {"debugger-folder", 0}, {"function-folder", 1}, {"button-folder", 2}, {"icon", 3}};
        const auto text = testRunTexts.find(setting);
        if (text == testRunTexts.end())
            reader.fail("unknown setting \"" + words[0] + "\" (see tomelet-pack --help)");
        expectValues(words, 1, 1, setting + " TEXT", reader);
        directory.testRunTexts[text->second] = toCodePage(words[1], setting, reader);
    }
}

std::pair<std::int32_t, std::int32_t> readSize(std::string_view value, const LineReader& reader) {
    const std::size_t separator = lowerAscii(value).find('x');
    if (separator == std::string_view::npos)
        reader.fail("size must be WIDTHxHEIGHT, not \"" + std::string(value) + "\"");
    return {static_cast<std::int32_t>(
                readNumber(value.substr(0, separator), 1, largestInt32, "the width", reader)),
            static_cast<std::int32_t>(
                readNumber(value.substr(separator + 1), 1, largestInt32, "the height", reader))};
}

ManifestEntry readEntry(const std::vector<std::string>& words, const LineReader& reader) {
    if (words.size() < 2) reader.fail("expected: entry NAME [option...]");
    ManifestEntry entry;
    entry.line = reader.line();
    entry.name = toCodePage(words[1], "the entry name", reader);
    if (entry.name.empty()) reader.fail("the entry name is empty");
    bool sourceGiven = false;
    std::map<std::string, bool> seen;
    for (std::size_t index = 2; index < words.size(); ++index) {
        const std::string& word = words[index];
        const std::size_t equals = word.find('=');
        const std::string option = lowerAscii(word.substr(0, equals));
        const std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
        if (seen[option]) reader.fail(option + " is given twice");
        seen[option] = true;
        const bool flag = option == "no-data";
        if (flag != (equals == std::string::npos))
            reader.fail(flag ? "no-data takes no value"
                             : option + " needs a value (" + option + "=...)");
        if (option == "source") {
            if (value.empty()) reader.fail("source is empty");
            entry.source = value;
            sourceGiven = true;
        } else if (option == "type") {
            entry.type = static_cast<std::uint8_t>(readNumber(value, 0, 255, "type", reader));
        } else if (option == "compress") {
            entry.compress = readYesNo(value, "compress", reader);
        } else if (option == "size") {
            std::tie(entry.imageWidth, entry.imageHeight) = readSize(value, reader);
        } else if (option == "transparent") {
            entry.imageHasTransparency = readYesNo(value, "transparent", reader);
        } else if (flag) {
            entry.withoutData = true;
        } else {
            reader.fail("unknown entry option \"" + option +
                        "\" (source, type, compress, size, transparent, no-data)");
        }
    }
    if (entry.withoutData && (sourceGiven || entry.compress))
        reader.fail("an entry with no-data takes neither source nor compress");
    return entry;
}

} // namespace

Manifest parseManifest(std::string_view text, const std::string& fileName) {
    Manifest manifest;
    manifest.fileName = fileName;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::map<std::string, int, CaseInsensitiveLess> entryLines;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        const LineReader reader(fileName, ++lineNumber);
        const std::vector<std::string> words = splitWords(line, reader);
        if (words.empty()) continue;
        const std::string keyword = lowerAscii(words[0]);
        if (keyword == "entry") {
            ManifestEntry entry = readEntry(words, reader);
            const auto [existing, added] = entryLines.emplace(entry.name, lineNumber);
            if (!added)
                reader.fail("entry \"" + words[1] + "\" is already listed on line " +
                            std::to_string(existing->second));
            manifest.entries.push_back(std::move(entry));
            continue;
        }
        readSetting(words, manifest, reader);
        const auto [existing, added] = manifest.settingLines.emplace(keyword, lineNumber);
        if (!added)
            reader.fail(keyword + " is already given on line " + std::to_string(existing->second));
    }
    checkCombinations(manifest);
    return manifest;
}

Manifest readManifest(const std::filesystem::path& path) {
    try {
        return parseManifest(readWholeFile(path), path.string());
    } catch (const StreamError& error) {
        throw ManifestError(error.what());
    }
}

std::string_view manifestHelp() {
    return help;
}

} // namespace tomelet
