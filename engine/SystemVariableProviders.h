#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tomelet {

// Where the system variables get what only other parts of the player know. The shell, the
// interpreter, the mail service and the platform each implement their interface and bind it
// to SystemVariables; until then the variables show what the player gives when the thing is
// absent. Paths are publication strings (code-page bytes); folders end with the separator.

// The loaded publication and the run.
class PublicationProvider {
public:
    virtual ~PublicationProvider() = default;
    // Of the page being shown or being navigated to; empty without pages.
    virtual std::string pageTitle() const = 0;
    virtual int pageIndex() const = 0;
    // Pages in the page list, the master page (index 0) included.
    virtual int pageListCount() const = 0;
    virtual std::string author() const = 0;
    virtual std::string version() const = 0;
    // 'A' application, 'S' screen saver, 'T' tray application.
    virtual char kind() const = 0;
    virtual bool testRun() const = 0;
    // The file the package was read from.
    virtual std::string packageFile() const = 0;
    virtual std::string executableFile() const = 0;
    // The parameters of the command line; empty when there are none.
    virtual std::string commandLineText() const = 0;
    // Colours of the palette in use.
    virtual std::int64_t paletteColours() const = 0;
};

// The interpreter's running action.
class ActionRunProvider {
public:
    virtual ~ActionRunProvider() = default;
    // The object whose event started the running action; empty when none.
    virtual std::string selfName() const = 0;
};

enum class WindowStateRequest { Minimize, Maximize, Restore };
enum class WindowOrder { Normal, OnTop, OnBottom };

// The publication window.
class WindowProvider {
public:
    virtual ~WindowProvider() = default;
    virtual int left() const = 0;
    virtual int top() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual int clientWidth() const = 0;
    virtual int clientHeight() const = 0;
    // The page area.
    virtual int pageAreaWidth() const = 0;
    virtual int pageAreaHeight() const = 0;
    // Screen position of the client area's top-left corner.
    virtual int clientScreenLeft() const = 0;
    virtual int clientScreenTop() const = 0;
    virtual bool applicationMinimized() const = 0;
    virtual bool maximized() const = 0;
    virtual WindowOrder order() const = 0;
    virtual std::string caption() const = 0;
    virtual std::string applicationTitle() const = 0;
    virtual std::uint64_t handle() const = 0;
    // The object with the keyboard focus; empty when none.
    virtual std::string focusedObject() const = 0;

    // Each setter that changes the client size runs the size-changed action itself.
    virtual void setLeft(int value) = 0;
    virtual void setTop(int value) = 0;
    virtual void setWidth(int value) = 0;
    virtual void setHeight(int value) = 0;
    virtual void setClientWidth(int value) = 0;
    virtual void setClientHeight(int value) = 0;
    virtual void setPageAreaWidth(int value) = 0;
    virtual void setPageAreaHeight(int value) = 0;
    virtual void requestState(WindowStateRequest request) = 0;
    // Called only when the order changes.
    virtual void setOrder(WindowOrder order) = 0;
    // Also the tray icon's hint.
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setApplicationTitle(const std::string& title) = 0;
};

class ClipboardProvider {
public:
    virtual ~ClipboardProvider() = default;
    // The plain text; empty when the clipboard holds none.
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

// The outgoing mail server that sending mail uses.
class MailProvider {
public:
    virtual ~MailProvider() = default;
    virtual std::string mailServer() const = 0;
    virtual void setMailServer(const std::string& server) = 0;
};

// The machine and the user. Screen values are measured at start.
class SystemInfoProvider {
public:
    virtual ~SystemInfoProvider() = default;
    virtual int screenWidth() const = 0;
    virtual int screenHeight() const = 0;
    virtual std::int64_t screenColours() const = 0;
    virtual int screenBits() const = 0;
    // Nothing when the system cannot tell.
    virtual std::optional<std::string> userName() const = 0;
    virtual std::string languageName() const = 0;
    // Nothing when the locale has no abbreviation.
    virtual std::optional<std::string> languageAbbreviation() const = 0;
    virtual int platformId() const = 0;
    // Major and minor, "6.1".
    virtual std::string systemVersion() const = 0;
    virtual std::string systemVersionName() const = 0;
    virtual std::string systemBuild() const = 0;
    // "X:\" forms; nothing when there is none.
    virtual std::optional<std::string> cdRomDrive() const = 0;
    virtual std::optional<std::string> networkDrive() const = 0;
    virtual std::optional<std::uint32_t> systemVolumeSerial() const = 0;
    virtual std::string systemFolder() const = 0;
    virtual std::string windowsFolder() const = 0;
    // Nothing when the system cannot tell.
    virtual std::optional<std::string> documentsFolder() const = 0;
    virtual std::optional<std::string> programFilesFolder() const = 0;
};

// Every provider, each null until bound. They must outlive their binding.
struct SystemVariableProviders {
    PublicationProvider* publication = nullptr;
    ActionRunProvider* actionRun = nullptr;
    WindowProvider* window = nullptr;
    ClipboardProvider* clipboard = nullptr;
    MailProvider* mail = nullptr;
    SystemInfoProvider* systemInfo = nullptr;
};

} // namespace tomelet
