#pragma once

#include "package/EmbeddedFileMap.h"
#include "package/LocalisedTexts.h"
#include "package/PublicationKeys.h"
#include "package/PublicationValues.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tomelet {

// What the publication text says, before any page or object exists. Actions and other
// multi-line texts hold CR LF between their lines.

// One field per publication key the player uses, with the value it has when the key is
// absent. The keys the player does not use (TOMELETVER=, BUILD=, ICON=, PAL=, SSPREVIEW=,
// SPLASHSCREEN=, SPLASHPROPS=, IE7COMPMODE=) are read and dropped.
struct PublicationSettings {
    std::string title;
    std::string author;
    std::string publicationVersion;
    std::int32_t screenWidth = 640;
    std::int32_t screenHeight = 480;
    // Only 2, 16, 256, 32768, 65536 and 16777216 are taken; none means the display's count.
    std::optional<std::int32_t> screenColours;
    bool screenAutoSize = false;
    Colour backgroundColour = 0;
    std::int32_t windowStyle = 0;
    std::int32_t windowOrder = 0;
    std::int32_t windowProperties = 31;
    std::int32_t windowPosition = 0;
    std::string windowRegistryKey;
    std::int32_t minimumPublicationWidth = 0;
    std::int32_t minimumPublicationHeight = 0;
    std::int32_t bidiMode = 0;
    std::string shapeFile;
    Colour shapeTransparentColour = kImageOwnTransparentColour;
    std::string helpFile;
    std::string applicationCursor;
    std::string hotSpotCursor;
    std::string dragCursor;
    std::string busyCursor;
    std::string startPassword;
    std::string exitPassword;
    bool allowEscape = true;
    bool allowPageUpDown = true;
    bool noCtrlAltDel = false;
    bool noPrintScreen = false;
    bool bypassPrintDialog = false;
    bool showErrors = true;
    bool showMarquee = false;
    bool useUpdateTimer = true;
    bool autoReturn = false;
    std::int32_t returnTime = 60;
    std::string returnAction;
    bool mouseExit = false;
    std::string startupAction;
    std::string shutdownAction;
    std::string activateAction;
    std::string deactivateAction;
    std::string pageChangeAction;
    std::string resizedAction;
    // Labels (lines beginning with ":") followed by their lines.
    std::string subroutineAction;
    std::string alertBoxImage;
    std::string messageBoxImage;
    std::string exitBoxImage;
    std::string customFontName = "Arial";
    std::int32_t customFontSize = 9;
    // Bits 1 bold, 2 italic, 4 underline, 8 strike-out; higher bits are dropped on reading.
    std::int32_t customFontStyle = 1;
    // 0..255: the lower 8 bits of the value.
    std::int32_t customCharset = 1;
    Colour linkColour = 16711680;
    // At least 1: smaller values are read as 1.
    std::int32_t cacheSize = 30;
    std::int32_t extractOptions = 132;
    std::string extractDirectory;
};

struct PageBackground {
    bool showMasterPage = true;
    std::int32_t style = 0; // 0 solid colour, 1 gradient, 2 wallpaper
    Colour colour = 16777215;
    Colour gradientColour1 = 16711680;
    Colour gradientColour2 = 255;
    std::int32_t gradientAngle = 1; // 0 horizontal, 1 vertical
    std::string wallpaperFile;
    std::int32_t wallpaperStyle = 0; // 0 tiled, 1 centred, 2 stretched
    std::string enterAction;
    std::string exitAction;
    std::string effect;
    std::string effectOptions;
    // None: the default palette.
    std::optional<PagePalette> palette;
};

// A line object's end points; X1=, Y1= and X2= take effect together with Y2=.
struct LineEndPoints {
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::int32_t x2 = 0;
    std::int32_t y2 = 0;
};

// A key of the object's own class, its value converted as the key table says.
struct ObjectKeyValue {
    PublicationKey key;
    std::string value;
};

// One object as the text defines it. The keys every class takes are optional, since each
// class has its own defaults. Coordinates are as written: at page level the page area's
// origin is still to be added, inside a group or container they are relative to it.
struct ObjectDefinition {
    ObjectType type;
    std::string name;
    std::optional<std::int32_t> left;
    std::optional<std::int32_t> top;
    std::optional<std::int32_t> width;
    std::optional<std::int32_t> height;
    std::optional<Colour> lineColour;
    std::optional<std::int32_t> lineWidth;
    std::optional<std::int32_t> lineStyle; // 0..7; other values are not taken
    std::optional<Colour> fillColour;
    std::optional<std::int32_t> fillPattern; // 0..255: the lower 8 bits
    std::optional<bool> transparent;         // FILLMODE=
    std::optional<bool> visible;
    std::optional<bool> enabled;
    std::optional<std::int32_t> tabOrder; // the lower 16 bits
    std::optional<std::int32_t> anchor;
    // The class's own keys in text order, only those its class takes (line end points apart).
    std::vector<ObjectKeyValue> classKeys;
    std::optional<LineEndPoints> lineEndPoints;
    // The objects between GROUPBEGIN/CONTAINERBEGIN and the matching end marker.
    std::vector<ObjectDefinition> children;
};

struct PageDefinition {
    std::string name; // empty for the master page
    PageBackground background;
    std::vector<ObjectDefinition> objects;
};

struct MenuItemDefinition {
    // Without MENUSTATE= the item is visible and enabled.
    static constexpr std::int32_t kDefaultState = 3;

    std::string name;
    // MENUTEXT= as written (variables not yet replaced); the name until MENUTEXT= comes.
    std::string caption;
    std::string action;
    std::int32_t state = kDefaultState;
    std::int32_t shortcut = 0; // the lower 16 bits of MENUKEY=
    std::string checkVariable;
    std::string imageFile;
    Colour imageTransparentColour = kImageOwnTransparentColour;
    std::vector<MenuItemDefinition> children;

    bool visible() const { return (state & 1) != 0; }
    bool enabled() const { return (state & 2) != 0; }
    bool checkable() const { return (state & 8) != 0; }
    // The checked bit counts only for a checkable item.
    bool checked() const { return checkable() && (state & 4) != 0; }
};

struct PublicationModel {
    PublicationSettings settings;
    LocalisedTextTable localisedTexts;
    // Page 0 is the master page and always present; pages 1..n follow in text order.
    std::vector<PageDefinition> pages{PageDefinition{}};
    std::vector<MenuItemDefinition> mainMenu;
    std::vector<MenuItemDefinition> trayMenu; // read for tray publications only
    EmbeddedFileMap embeddedFiles;            // filled in a test run only
};

} // namespace tomelet
