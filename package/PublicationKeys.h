#pragma once

#include "package/LocalisedTexts.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tomelet {

// The object classes of the publication format, by the number OBJECTTYPE= gives them.
enum class ObjectType : std::uint8_t {
    Article = 2,
    PushButton = 3,
    Picture = 4,
    Rectangle = 5,
    Circle = 6,
    Line = 7,
    Text = 8,
    EditField = 9,
    ListBox = 10,
    ComboBox = 11,
    CheckBox = 12,
    RadioButton = 13,
    WebBrowser = 14,
    Timer = 15,
    TrackBar = 16,
    RoundRectangle = 17,
    MediaPlayer = 18,
    Animator = 19,
    Group = 20,
    Container = 21,
    Flash = 22,
    Polygon = 23,
    LinkedArticle = 24,
};

// The class for an OBJECTTYPE= number, or none for numbers that create no object.
std::optional<ObjectType> objectTypeFromNumber(std::int32_t number);

// How a key's value is read.
enum class KeyValueType : std::uint8_t {
    Text,         // unchanged
    Lines,        // 0xB6 separates lines; becomes CR LF when taken into the model
    Integer,      // decimal or "$", "x", "0x" hexadecimal
    Colour,       // an integer holding blue*65536 + green*256 + red, or a system colour
    Boolean,      // true exactly for "Yes", without case
    VariableName, // text, brackets completed and balanced
    Marker,       // a line without "=" and without value
};

// Where a key applies: the section opened most recently of that kind.
enum class KeySection : std::uint8_t {
    Publication,   // the publication settings
    LocalisedText, // one entry of the localised text table
    Page,          // the current page
    Object,        // the current object, whatever its class
    ObjectClass,   // the current object, only when its class takes the key
    Menu,          // the last menu item, inside menu blocks
    Ignored,       // known, read and ignored
};

// The identity of every key and marker the publication text may contain. The L_* keys share
// the identity LocalisedText and name their entry in KeyDefinition::localisedText.
enum class PublicationKey : std::uint16_t {
    // Publication keys.
    Title,
    Author,
    PublicationVersion,
    ScreenWidth,
    ScreenHeight,
    ScreenColours,
    ScreenAutoSize,
    BackgroundColour,
    WindowStyle,
    WindowOrder,
    WindowProperties,
    WindowPosition,
    WindowRegistryKey,
    MinimumPublicationWidth,
    MinimumPublicationHeight,
    BidiMode,
    ShapeFile,
    ShapeTransparentColour,
    HelpFile,
    ApplicationCursor,
    HotSpotCursor,
    DragCursor,
    BusyCursor,
    StartPassword,
    ExitPassword,
    AllowEscape,
    AllowPageUpDown,
    NoCtrlAltDel,
    NoPrintScreen,
    BypassPrintDialog,
    ShowErrors,
    ShowMarquee,
    UseUpdateTimer,
    AutoReturn,
    ReturnTime,
    ReturnAction,
    MouseExit,
    StartupAction,
    ShutdownAction,
    ActivateAction,
    DeactivateAction,
    PageChangeAction,
    ResizedAction,
    SubroutineAction,
    AlertBoxImage,
    MessageBoxImage,
    ExitBoxImage,
    CustomFontName,
    CustomFontSize,
    CustomFontStyle,
    CustomCharset,
    LinkColour,
    CacheSize,
    ExtractOptions,
    ExtractDirectory,
    EmbeddedFiles,
    // Publication keys the player does not use.
    ToolVersion,
    ToolBuild,
    Icon,
    Palette,
    ScreenSaverPreview,
    SplashScreen,
    SplashProperties,
    CompatibilityMode,

    LocalisedText,

    // Page keys.
    MasterPage,
    NewPage,
    ShowMasterPage,
    PageStyle,
    PageColour,
    PageGradientColour1,
    PageGradientColour2,
    PageGradientDirection,
    PageWallpaper,
    WallpaperStyle,
    PageEnterAction,
    PageExitAction,
    PageEffect,
    EffectSpeed,
    PagePalette,

    // Keys of every object class.
    ObjectType,
    Name,
    Left,
    Top,
    Width,
    Height,
    LineColour,
    LineWidth,
    LineStyle,
    FillColour,
    FillPattern,
    FillMode,
    Visible,
    Enabled,
    TabOrder,
    Anchor,
    GroupBegin,
    GroupEnd,
    ContainerBegin,
    ContainerEnd,

    // Class keys.
    TextColour,
    Font,
    FontSize,
    FontStyle,
    FontCharset,
    Text,
    Action,
    RightClickAction,
    EnterAction,
    ExitAction,
    Hint,
    HotKey,
    Align,
    ImageStyle,
    UpImage,
    DownImage,
    OverImage,
    UpTransparentColour,
    DownTransparentColour,
    OverTransparentColour,
    LibraryImage,
    OverlayText,
    BevelWidth,
    XpTheme,
    DepressEffect,
    VariableName,
    InitialState,
    AutoSize,
    VariableType,
    Sorted,
    DoubleClickAction,
    MultiSelect,
    SetFocusAction,
    LoseFocusAction,
    WordWrap,
    ScrollBar,
    EditLength,
    EditMask,
    EditMultiLine,
    EditCase,
    EditPassword,
    EditNumber,
    EditCharacters,
    DragMode,
    DropAction,
    DropTarget,
    HorizontalMargin,
    VerticalMargin,
    FileName,
    AllowCopy,
    OverrideFont,
    PictureStyle,
    PictureTransparentColour,
    PictureMousePan,
    PictureZoomFactor,
    Centered,
    Opacity,
    Resample,
    DoneAction,
    AutoStart,
    AutoRewind,
    LoopTimes,
    LineX1,
    LineY1,
    LineX2,
    LineY2,
    EndCaps,
    Points,
    Interval,
    AutoStop,
    RunOnce,
    Minimum,
    Maximum,
    ThumbSize,
    TrackSize,
    ThumbImage,
    TrackImage,
    ThumbTransparentColour,
    TrackTransparentColour,
    ChangingAction,
    NavigationCompleteAction,
    TitleVariableName,
    UrlVariableName,
    ContextMenu,
    SilentMode,
    TrapPopups,
    ShowToolBar,
    ShowStatusBar,
    EnhancedSecurity,
    PlayAction,
    CancelAction,
    ShowControls,
    LoopPlayback,
    UseInternalLoop,
    UseBackgroundColour,
    // Class keys no class uses.
    VerticalAlign,
    LinkPosition,
    EditScrollBar,

    // Menu keys.
    MenuBegin,
    TrayMenuBegin,
    MenuEnd,
    MenuName,
    MenuText,
    MenuAction,
    MenuState,
    MenuKey,
    MenuVariable,
    MenuImage,
    MenuImageTransparentColour,
};

struct KeyDefinition {
    std::string_view text; // as the publication text writes it: "TITLE=", "MASTERPAGE"
    KeyValueType type;
    KeySection section;
    PublicationKey key;
    ::tomelet::LocalisedText localisedText; // the entry, for the L_* keys only
};

// The key for a key text with its "=" (or a marker text), without case; none for a text
// the publication format does not know.
const KeyDefinition* findPublicationKey(std::string_view keyText);

// Whether objects of the class take a key of the ObjectClass section.
bool objectClassTakesKey(ObjectType type, PublicationKey key);

} // namespace tomelet
