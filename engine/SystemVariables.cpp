#include "engine/SystemVariables.h"

#include "engine/DateTimeFormat.h"
#include "engine/LenientNumber.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "services/Messages.h"

#include <cerrno>
#include <filesystem>
#include <pwd.h>
#include <sys/utsname.h>
#include <system_error>
#include <unistd.h>

namespace tomelet {

namespace {

using Access = SystemVariableSource::Access;
constexpr Access R = Access::ReadOnly;
constexpr Access W = Access::Writable;

// Table order; the line number selects the computation.
enum Line : std::size_t {
    PageTitle,
    PageNumber,
    P,
    Time,
    Time24,
    Hour,
    Minute,
    Second,
    DateShort,
    DateLong,
    Month,
    MonthNum,
    Day,
    DayNum,
    Year,
    Clipboard,
    WindowLeft,
    WindowTop,
    WindowWidth,
    WindowHeight,
    WindowState,
    PubWidth,
    PubHeight,
    PubTitle,
    MailServer,
    CDRomDrive,
    CommandLine,
    CurrentDir,
    NetworkDrive,
    PubAuthor,
    PubColors,
    PubDir,
    PubDrive,
    ScreenColors,
    ScreenHeight,
    ScreenWidth,
    SystemDir,
    TempDir,
    UserName,
    WinHandle,
    WindowsDir,
    WindowsPlatform,
    WindowsVer,
    ClientWidth,
    ClientHeight,
    TLMode,
    Self,
    SystemLanguage,
    HDSerialNum,
    TomeletVersion,
    Embedded,
    MyDocuments,
    ProgramFiles,
    TLType,
    WindowOrderLine,
    FocusedObject,
    AppTitle,
    SystemLanguageExt,
    PubVersion,
    PageNumberLeft,
    PageNumberRight,
    PageNumberOffset,
    PageCount,
    DecimalSymbol,
    PubLeft,
    PubTop,
    ScreenBits,
    WindowsVerName,
    WindowsVerBuild
};

constexpr std::array<SystemVariables::Entry, SystemVariables::kCount> kTable{{
    {"PageTitle", R},
    {"PageNumber", R},
    {"P", R},
    {"Time", R},
    {"Time24", R},
    {"Hour", R},
    {"Minute", R},
    {"Second", R},
    {"DateShort", R},
    {"DateLong", R},
    {"Month", R},
    {"MonthNum", R},
    {"Day", R},
    {"DayNum", R},
    {"Year", R},
    {"Clipboard", W},
    {"WindowLeft", W},
    {"WindowTop", W},
    {"WindowWidth", W},
    {"WindowHeight", W},
    {"WindowState", W},
    {"PubWidth", W},
    {"PubHeight", W},
    {"PubTitle", W},
    {"MailServer", W},
    {"CDRomDrive", R},
    {"CommandLine", R},
    {"CurrentDir", W},
    {"NetworkDrive", R},
    {"PubAuthor", R},
    {"PubColors", R},
    {"PubDir", R},
    {"PubDrive", R},
    {"ScreenColors", R},
    {"ScreenHeight", R},
    {"ScreenWidth", R},
    {"SystemDir", R},
    {"TempDir", R},
    {"UserName", R},
    {"WinHandle", R},
    {"WindowsDir", R},
    {"WindowsPlatform", R},
    {"WindowsVer", R},
    {"ClientWidth", W},
    {"ClientHeight", W},
    {"TLMode", R},
    {"Self", R},
    {"SystemLanguage", R},
    {"HDSerialNum", R},
    {"TomeletVersion", R},
    {"Embedded", R},
    {"MyDocuments", R},
    {"ProgramFiles", R},
    {"TLType", R},
    {"WindowOrder", W},
    {"FocusedObject", R},
    {"AppTitle", W},
    {"SystemLanguageExt", R},
    {"PubVersion", R},
    {"PageNumberLeft", R},
    {"PageNumberRight", R},
    {"PageNumberOffset", W},
    {"PageCount", R},
    {"DecimalSymbol", W},
    {"PubLeft", R},
    {"PubTop", R},
    {"ScreenBits", R},
    {"WindowsVerName", R},
    {"WindowsVerBuild", R},
}};

constexpr std::string_view kDocumentsFallback = "C:\\My Documents\\";
constexpr std::string_view kProgramFilesFallback = "C:\\Program Files\\";

std::string number(long long value) {
    return std::to_string(value);
}

std::string positiveOrEmpty(long long value) {
    return value > 0 ? number(value) : std::string();
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string_view orderText(WindowOrder order) {
    switch (order) {
    case WindowOrder::OnTop:
        return "OnTop";
    case WindowOrder::OnBottom:
        return "OnBottom";
    case WindowOrder::Normal:
        break;
    }
    return "Normal";
}

std::string currentFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) return {};
    std::string text = toPublicationPath(folder.string());
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

std::string operatingSystemUserName() {
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name) {
        return entry->pw_name;
    }
    return GetMessageText(228);
}

// The kernel's release cut before its second ".", "6.1" of "6.1.0-18-amd64".
std::string kernelVersion() {
    utsname names{};
    if (::uname(&names) != 0) return {};
    const std::string_view release = names.release;
    const auto firstDot = release.find('.');
    if (firstDot == std::string_view::npos) return std::string(release);
    return std::string(release.substr(0, release.find('.', firstDot + 1)));
}

} // namespace

const std::array<SystemVariables::Entry, SystemVariables::kCount>& SystemVariables::table() {
    return kTable;
}

std::optional<std::size_t> SystemVariables::indexOf(std::string_view name) {
    for (std::size_t index = 0; index < kTable.size(); ++index) {
        if (equalsIgnoreCase(kTable[index].name, name)) return index;
    }
    return std::nullopt;
}

SystemVariableSource::Access SystemVariables::access(std::string_view name) const {
    const auto index = indexOf(name);
    return index ? kTable[*index].access : Access::None;
}

std::string SystemVariables::read(std::string_view name, ExpansionTime now) const {
    const auto index = indexOf(name);
    return index ? readEntry(*index, now) : std::string();
}

int SystemVariables::pageIndex() const {
    return providers_.publication ? providers_.publication->pageIndex() : 0;
}

std::string SystemVariables::readEntry(std::size_t index, ExpansionTime now) const {
    const PublicationProvider* publication = providers_.publication;
    const WindowProvider* window = providers_.window;
    const SystemInfoProvider* system = providers_.systemInfo;
    const auto clock = [now](std::string_view format) {
        return formatDateTime(format, localDateTime(now));
    };
    const auto windowNumber = [window](int (WindowProvider::*get)() const) {
        return number(window ? (window->*get)() : 0);
    };
    const auto systemNumber = [system](auto get) {
        return number(system ? static_cast<long long>((system->*get)()) : 0);
    };
    const auto systemText = [system](std::string (SystemInfoProvider::*get)() const) {
        return system ? (system->*get)() : std::string();
    };
    const auto publicationText = [publication](std::string (PublicationProvider::*get)() const) {
        return publication ? (publication->*get)() : std::string();
    };

    switch (static_cast<Line>(index)) {
    case PageTitle:
        return publicationText(&PublicationProvider::pageTitle);
    case PageNumber:
    case P:
        return number(static_cast<long long>(pageIndex()) - pageNumberOffset_);
    case Time:
        return clock("h:nn:ss ampm");
    case Time24:
        return clock("h:nn:ss");
    case Hour:
        return clock("h");
    case Minute:
        return clock("nn");
    case Second:
        return clock("ss");
    case DateShort:
        return clock("ddddd");
    case DateLong:
        return clock("dddddd");
    case Month:
        return clock("mmmm");
    case MonthNum:
        return clock("m");
    case Day:
        return clock("dddd");
    case DayNum:
        return clock("d");
    case Year:
        return clock("yyyy");
    case Clipboard:
        return providers_.clipboard ? providers_.clipboard->text() : std::string();
    case WindowLeft:
        return windowNumber(&WindowProvider::left);
    case WindowTop:
        return windowNumber(&WindowProvider::top);
    case WindowWidth:
        return windowNumber(&WindowProvider::width);
    case WindowHeight:
        return windowNumber(&WindowProvider::height);
    case WindowState:
        if (window && window->applicationMinimized()) return "Minimized";
        if (window && window->maximized()) return "Maximized";
        return "Normal";
    case PubWidth:
        return windowNumber(&WindowProvider::pageAreaWidth);
    case PubHeight:
        return windowNumber(&WindowProvider::pageAreaHeight);
    case PubTitle:
        return window ? window->caption() : std::string();
    case MailServer:
        return providers_.mail ? providers_.mail->mailServer() : std::string();
    case CDRomDrive: {
        auto drive = system ? system->cdRomDrive() : std::nullopt;
        return drive ? *drive : "Error";
    }
    case CommandLine: {
        std::string text;
        if (publication) {
            text = publication->executableFile();
            if (const std::string parameters = publication->commandLineText();
                !parameters.empty()) {
                text += '\r';
                text += parameters;
            }
        } else {
            std::error_code error;
            const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
            if (!error) text = toPublicationPath(executable.string());
        }
        return text;
    }
    case CurrentDir:
        return currentFolder();
    case NetworkDrive: {
        auto drive = system ? system->networkDrive() : std::nullopt;
        return drive ? *drive : "Error";
    }
    case PubAuthor:
        return publicationText(&PublicationProvider::author);
    case PubColors:
        return number(publication ? publication->paletteColours() : 0);
    case PubDir:
        return std::string(extractFilePath(publicationText(&PublicationProvider::packageFile)));
    case PubDrive:
        return std::string(extractFileDrive(publicationText(&PublicationProvider::packageFile)));
    case ScreenColors:
        return systemNumber(&SystemInfoProvider::screenColours);
    case ScreenHeight:
        return systemNumber(&SystemInfoProvider::screenHeight);
    case ScreenWidth:
        return systemNumber(&SystemInfoProvider::screenWidth);
    case SystemDir:
        return systemText(&SystemInfoProvider::systemFolder);
    case TempDir:
        return toPublicationPath(tempFolder());
    case UserName: {
        auto name = system ? system->userName() : std::optional(operatingSystemUserName());
        return name ? *name : GetMessageText(228);
    }
    case WinHandle:
        return std::to_string(window ? window->handle() : 0);
    case WindowsDir:
        return systemText(&SystemInfoProvider::windowsFolder);
    case WindowsPlatform:
        return systemNumber(&SystemInfoProvider::platformId);
    case WindowsVer:
        return system ? system->systemVersion() : kernelVersion();
    case ClientWidth:
        return windowNumber(&WindowProvider::clientWidth);
    case ClientHeight:
        return windowNumber(&WindowProvider::clientHeight);
    case TLMode:
        return publication && publication->testRun() ? "D" : "R";
    case Self:
        return providers_.actionRun ? providers_.actionRun->selfName() : std::string();
    case SystemLanguage:
        return systemText(&SystemInfoProvider::languageName);
    case HDSerialNum: {
        auto serial = system ? system->systemVolumeSerial() : std::nullopt;
        return std::to_string(serial.value_or(0));
    }
    case TomeletVersion:
        return "210629";
    case Embedded:
        return "embedded:\\\\\\";
    case MyDocuments: {
        auto folder = system ? system->documentsFolder() : std::nullopt;
        return folder ? *folder : std::string(kDocumentsFallback);
    }
    case ProgramFiles: {
        auto folder = system ? system->programFilesFolder() : std::nullopt;
        return folder ? *folder : std::string(kProgramFilesFallback);
    }
    case TLType:
        return std::string(1, publication ? publication->kind() : 'A');
    case WindowOrderLine:
        return std::string(orderText(window ? window->order() : WindowOrder::Normal));
    case FocusedObject:
        return window ? window->focusedObject() : std::string();
    case AppTitle:
        return window ? window->applicationTitle() : std::string();
    case SystemLanguageExt: {
        auto abbreviation = system ? system->languageAbbreviation() : std::nullopt;
        return abbreviation ? *abbreviation : "<unknown>";
    }
    case PubVersion:
        return publicationText(&PublicationProvider::version);
    case PageNumberLeft:
        return positiveOrEmpty(2LL * pageIndex() - pageNumberOffset_ - 1);
    case PageNumberRight:
        return positiveOrEmpty(2LL * pageIndex() - pageNumberOffset_);
    case PageNumberOffset:
        return number(pageNumberOffset_);
    case PageCount:
        return number(publication ? publication->pageListCount() - 1LL : -1);
    case DecimalSymbol:
        return std::string(1, decimalSymbol());
    case PubLeft:
        return windowNumber(&WindowProvider::clientScreenLeft);
    case PubTop:
        return windowNumber(&WindowProvider::clientScreenTop);
    case ScreenBits:
        return systemNumber(&SystemInfoProvider::screenBits);
    case WindowsVerName:
        return systemText(&SystemInfoProvider::systemVersionName);
    case WindowsVerBuild:
        return systemText(&SystemInfoProvider::systemBuild);
    }
    return {};
}

void SystemVariables::write(std::string_view name, std::string_view value) {
    const auto index = indexOf(name);
    if (!index || kTable[*index].access != Access::Writable) return;
    WindowProvider* window = providers_.window;
    const auto setWindowNumber = [window, value](void (WindowProvider::*set)(int)) {
        if (window) (window->*set)(readIntegerOrZero(value));
    };
    switch (static_cast<Line>(*index)) {
    case Clipboard:
        if (providers_.clipboard) providers_.clipboard->setText(std::string(value));
        break;
    case WindowLeft:
        setWindowNumber(&WindowProvider::setLeft);
        break;
    case WindowTop:
        setWindowNumber(&WindowProvider::setTop);
        break;
    case WindowWidth:
        setWindowNumber(&WindowProvider::setWidth);
        break;
    case WindowHeight:
        setWindowNumber(&WindowProvider::setHeight);
        break;
    case WindowState: {
        if (!window) break;
        const std::string_view state = trimmed(value);
        if (equalsIgnoreCase(state, "MINIMIZED")) {
            window->requestState(WindowStateRequest::Minimize);
        } else if (equalsIgnoreCase(state, "MAXIMIZED")) {
            window->requestState(WindowStateRequest::Maximize);
        } else {
            window->requestState(WindowStateRequest::Restore);
        }
        break;
    }
    case PubWidth:
        setWindowNumber(&WindowProvider::setPageAreaWidth);
        break;
    case PubHeight:
        setWindowNumber(&WindowProvider::setPageAreaHeight);
        break;
    case PubTitle:
        if (window) window->setCaption(std::string(value));
        break;
    case MailServer:
        if (providers_.mail) providers_.mail->setMailServer(std::string(value));
        break;
    case CurrentDir:
        writeCurrentDirectory(value);
        break;
    case ClientWidth:
        setWindowNumber(&WindowProvider::setClientWidth);
        break;
    case ClientHeight:
        setWindowNumber(&WindowProvider::setClientHeight);
        break;
    case WindowOrderLine: {
        if (!window) break;
        WindowOrder order = WindowOrder::Normal;
        if (equalsIgnoreCase(value, "ONTOP")) order = WindowOrder::OnTop;
        if (equalsIgnoreCase(value, "ONBOTTOM")) order = WindowOrder::OnBottom;
        if (order != window->order()) window->setOrder(order);
        break;
    }
    case AppTitle:
        if (window) window->setApplicationTitle(std::string(value));
        break;
    case PageNumberOffset:
        writePageNumberOffset(value);
        break;
    case DecimalSymbol:
        assignDecimalSymbol(value);
        break;
    default:
        break;
    }
}

void SystemVariables::writePageNumberOffset(std::string_view value) {
    pageNumberOffset_ = readIntegerOrZero(value);
    if (!variableChanged_) return;
    const ExpansionTime now{};
    for (const auto& [line, notified] : {std::pair{PageNumber, "[PAGENUMBER]"},
                                         {P, "[P]"},
                                         {PageNumberLeft, "[PAGENUMBERLEFT]"},
                                         {PageNumberRight, "[PAGENUMBERRIGHT]"}}) {
        variableChanged_(notified, readEntry(line, now));
    }
}

void SystemVariables::writeCurrentDirectory(std::string_view value) {
    std::error_code error;
    const std::string folder = resolvePublicationPath(value);
    if (!folder.empty()) std::filesystem::current_path(folder, error);
    if (folder.empty() || error) {
        if (setLastError_) setLastError_(GetMessageText(304));
    }
}

} // namespace tomelet
