#include "package/PublicationKeys.h"

#include "platform/CodePage.h"

#include <array>
#include <bitset>
#include <initializer_list>
#include <span>
#include <unordered_map>
#include <vector>

namespace tomelet {
namespace {

struct KeyRow {
    std::string_view text;
    KeyValueType type;
    PublicationKey key;
};

using Type = KeyValueType;
using Key = PublicationKey;

constexpr KeyRow kPublicationKeys[] = {
    {"TITLE=", Type::Text, Key::Title},
    {"AUTHOR=", Type::Text, Key::Author},
    {"PUBVERSION=", Type::Text, Key::PublicationVersion},
    {"SCREENWIDTH=", Type::Integer, Key::ScreenWidth},
    {"SCREENHEIGHT=", Type::Integer, Key::ScreenHeight},
    {"SCREENCOLORS=", Type::Integer, Key::ScreenColours},
    {"SCREENAUTOSIZE=", Type::Boolean, Key::ScreenAutoSize},
    {"BKNDCOLOR=", Type::Colour, Key::BackgroundColour},
    {"WINDOWSTYLE=", Type::Integer, Key::WindowStyle},
    {"WINDOWORDER=", Type::Integer, Key::WindowOrder},
    {"WINDOWPROPS=", Type::Integer, Key::WindowProperties},
    {"WINDOWPOS=", Type::Integer, Key::WindowPosition},
    {"WINDOWREGKEY=", Type::Text, Key::WindowRegistryKey},
    {"MINPUBWIDTH=", Type::Integer, Key::MinimumPublicationWidth},
    {"MINPUBHEIGHT=", Type::Integer, Key::MinimumPublicationHeight},
    {"BIDIMODE=", Type::Integer, Key::BidiMode},
    {"SHAPEFILE=", Type::Text, Key::ShapeFile},
    {"SHAPETRANSCOLOR=", Type::Colour, Key::ShapeTransparentColour},
    {"HELPFILE=", Type::Text, Key::HelpFile},
    {"APPCURSOR=", Type::Text, Key::ApplicationCursor},
    {"HOTSPOTCURSOR=", Type::Text, Key::HotSpotCursor},
    {"DRAGCURSOR=", Type::Text, Key::DragCursor},
    {"BUSYCURSOR=", Type::Text, Key::BusyCursor},
    {"STARTPASSWORD=", Type::Text, Key::StartPassword},
    {"EXITPASSWORD=", Type::Text, Key::ExitPassword},
    {"ALLOWESC=", Type::Boolean, Key::AllowEscape},
    {"ALLOWPAGEUPDN=", Type::Boolean, Key::AllowPageUpDown},
    {"NOCTRLALTDEL=", Type::Boolean, Key::NoCtrlAltDel},
    {"NOPRINTSCRN=", Type::Boolean, Key::NoPrintScreen},
    {"BYPASSPRINTDLG=", Type::Boolean, Key::BypassPrintDialog},
    {"SHOWERRORS=", Type::Boolean, Key::ShowErrors},
    {"SHOWMARQUEE=", Type::Boolean, Key::ShowMarquee},
    {"USEUPDATETIMER=", Type::Boolean, Key::UseUpdateTimer},
    {"AUTORETURN=", Type::Boolean, Key::AutoReturn},
    {"RETURNTIME=", Type::Integer, Key::ReturnTime},
    {"RETURNACTION=", Type::Lines, Key::ReturnAction},
    {"MOUSEEXIT=", Type::Boolean, Key::MouseExit},
    {"STARTUPACTION=", Type::Lines, Key::StartupAction},
    {"SHUTDOWNACTION=", Type::Lines, Key::ShutdownAction},
    {"ACTIVATEACTION=", Type::Lines, Key::ActivateAction},
    {"DEACTIVATEACTION=", Type::Lines, Key::DeactivateAction},
    {"PAGECHANGEACTION=", Type::Lines, Key::PageChangeAction},
    {"RESIZEDACTION=", Type::Lines, Key::ResizedAction},
    {"SUBROUTINEACTION=", Type::Lines, Key::SubroutineAction},
    {"ALERTBOXIMAGE=", Type::Text, Key::AlertBoxImage},
    {"MSGBOXIMAGE=", Type::Text, Key::MessageBoxImage},
    {"EXITBOXIMAGE=", Type::Text, Key::ExitBoxImage},
    {"CUSTOMFONTNAME=", Type::Text, Key::CustomFontName},
    {"CUSTOMFONTSIZE=", Type::Integer, Key::CustomFontSize},
    {"CUSTOMFONTSTYLE=", Type::Integer, Key::CustomFontStyle},
    {"CUSTOMCHARSET=", Type::Integer, Key::CustomCharset},
    {"LINKCOLOR=", Type::Colour, Key::LinkColour},
    {"CACHESIZE=", Type::Integer, Key::CacheSize},
    {"EXTRACTOP=", Type::Integer, Key::ExtractOptions},
    {"EXTRACTDIR=", Type::Text, Key::ExtractDirectory},
    {"EMBEDDEDFILES=", Type::Text, Key::EmbeddedFiles},
};

constexpr KeyRow kUnusedPublicationKeys[] = {
    {"TOMELETVER=", Type::Text, Key::ToolVersion},
    {"BUILD=", Type::Integer, Key::ToolBuild},
    {"ICON=", Type::Text, Key::Icon},
    {"PAL=", Type::Text, Key::Palette},
    {"SSPREVIEW=", Type::Boolean, Key::ScreenSaverPreview},
    {"SPLASHSCREEN=", Type::Text, Key::SplashScreen},
    {"SPLASHPROPS=", Type::Integer, Key::SplashProperties},
    {"IE7COMPMODE=", Type::Boolean, Key::CompatibilityMode},
};

constexpr KeyRow kPageKeys[] = {
    {"MASTERPAGE", Type::Marker, Key::MasterPage},
    {"NEWPAGE=", Type::Text, Key::NewPage},
    {"SHOWMASTERPAGE=", Type::Boolean, Key::ShowMasterPage},
    {"PAGESTYLE=", Type::Integer, Key::PageStyle},
    {"PAGECOLOR=", Type::Colour, Key::PageColour},
    {"PAGEGRADIENT1=", Type::Colour, Key::PageGradientColour1},
    {"PAGEGRADIENT2=", Type::Colour, Key::PageGradientColour2},
    {"PAGEGRADIENTDIR=", Type::Integer, Key::PageGradientDirection},
    {"PAGEWALLPAPER=", Type::Text, Key::PageWallpaper},
    {"WALLPAPERSTYLE=", Type::Integer, Key::WallpaperStyle},
    {"PGENTERACTION=", Type::Lines, Key::PageEnterAction},
    {"PGEXITACTION=", Type::Lines, Key::PageExitAction},
    {"PAGEEFFECT=", Type::Text, Key::PageEffect},
    {"EFFECTSPEED=", Type::Text, Key::EffectSpeed},
    {"PAGEPALETTE=", Type::Text, Key::PagePalette},
};

constexpr KeyRow kObjectKeys[] = {
    {"OBJECTTYPE=", Type::Integer, Key::ObjectType},
    {"NAME=", Type::Text, Key::Name},
    {"X=", Type::Integer, Key::Left},
    {"Y=", Type::Integer, Key::Top},
    {"W=", Type::Integer, Key::Width},
    {"H=", Type::Integer, Key::Height},
    {"LINECOLOR=", Type::Colour, Key::LineColour},
    {"LINEWIDTH=", Type::Integer, Key::LineWidth},
    {"LINESTYLE=", Type::Integer, Key::LineStyle},
    {"FILLCOLOR=", Type::Colour, Key::FillColour},
    {"FILLPATTERN=", Type::Integer, Key::FillPattern},
    {"FILLMODE=", Type::Boolean, Key::FillMode},
    {"VISIBLE=", Type::Boolean, Key::Visible},
    {"ENABLED=", Type::Boolean, Key::Enabled},
    {"TABORDER=", Type::Integer, Key::TabOrder},
    {"ANCHOR=", Type::Integer, Key::Anchor},
    {"GROUPBEGIN", Type::Marker, Key::GroupBegin},
    {"GROUPEND", Type::Marker, Key::GroupEnd},
    {"CONTAINERBEGIN", Type::Marker, Key::ContainerBegin},
    {"CONTAINEREND", Type::Marker, Key::ContainerEnd},
};

constexpr KeyRow kClassKeys[] = {
    {"TEXTCOLOR=", Type::Colour, Key::TextColour},
    {"FONT=", Type::Text, Key::Font},
    {"FONTSIZE=", Type::Integer, Key::FontSize},
    {"FONTSTYLE=", Type::Integer, Key::FontStyle},
    {"FONTCHARSET=", Type::Integer, Key::FontCharset},
    {"TEXT=", Type::Lines, Key::Text},
    {"OBJACTION=", Type::Lines, Key::Action},
    {"OBJRACTION=", Type::Lines, Key::RightClickAction},
    {"OBJENTERACTION=", Type::Lines, Key::EnterAction},
    {"OBJEXITACTION=", Type::Lines, Key::ExitAction},
    {"HINT=", Type::Lines, Key::Hint},
    {"KEY=", Type::Integer, Key::HotKey},
    {"ALIGN=", Type::Integer, Key::Align},
    {"IMAGESTYLE=", Type::Integer, Key::ImageStyle},
    {"UPIMAGE=", Type::Text, Key::UpImage},
    {"DOWNIMAGE=", Type::Text, Key::DownImage},
    {"OVERIMAGE=", Type::Text, Key::OverImage},
    {"UPTRANSCOLOR=", Type::Colour, Key::UpTransparentColour},
    {"DOWNTRANSCOLOR=", Type::Colour, Key::DownTransparentColour},
    {"OVERTRANSCOLOR=", Type::Colour, Key::OverTransparentColour},
    {"LIBIMAGE=", Type::Text, Key::LibraryImage},
    {"OVERLAYTEXT=", Type::Boolean, Key::OverlayText},
    {"BEVELWIDTH=", Type::Integer, Key::BevelWidth},
    {"XPTHEME=", Type::Boolean, Key::XpTheme},
    {"DEPRESSEFFECT=", Type::Boolean, Key::DepressEffect},
    {"VARNAME=", Type::VariableName, Key::VariableName},
    {"INITSTATE=", Type::Integer, Key::InitialState},
    {"AUTOSIZE=", Type::Boolean, Key::AutoSize},
    {"VARTYPE=", Type::Integer, Key::VariableType},
    {"SORTED=", Type::Boolean, Key::Sorted},
    {"DBLCLICK=", Type::Lines, Key::DoubleClickAction},
    {"MULTISELECT=", Type::Boolean, Key::MultiSelect},
    {"OBJSETFOCUSACTION=", Type::Lines, Key::SetFocusAction},
    {"OBJLOSEFOCUSACTION=", Type::Lines, Key::LoseFocusAction},
    {"WORDWRAP=", Type::Boolean, Key::WordWrap},
    {"SCROLLBAR=", Type::Boolean, Key::ScrollBar},
    {"EDITLEN=", Type::Integer, Key::EditLength},
    {"EDITMASK=", Type::Text, Key::EditMask},
    {"EDITMULTILINE=", Type::Boolean, Key::EditMultiLine},
    {"EDITCASE=", Type::Integer, Key::EditCase},
    {"EDITPASSWORD=", Type::Boolean, Key::EditPassword},
    {"EDITNUMBER=", Type::Boolean, Key::EditNumber},
    {"EDITCHARS=", Type::Text, Key::EditCharacters},
    {"DRAGMODE=", Type::Integer, Key::DragMode},
    {"DROPACTION=", Type::Lines, Key::DropAction},
    {"DROPTARGET=", Type::Text, Key::DropTarget},
    {"HMARGIN=", Type::Integer, Key::HorizontalMargin},
    {"VMARGIN=", Type::Integer, Key::VerticalMargin},
    {"FILENAME=", Type::Text, Key::FileName},
    {"ALLOWCOPY=", Type::Boolean, Key::AllowCopy},
    {"OVERRIDEFONT=", Type::Boolean, Key::OverrideFont},
    {"PICTSTYLE=", Type::Integer, Key::PictureStyle},
    {"PICTTRANSCOLOR=", Type::Colour, Key::PictureTransparentColour},
    {"PICTMOUSEPAN=", Type::Boolean, Key::PictureMousePan},
    {"PICTZOOMFACTOR=", Type::Integer, Key::PictureZoomFactor},
    {"CENTERED=", Type::Boolean, Key::Centered},
    {"OPACITYEX=", Type::Integer, Key::Opacity},
    {"RESAMPLE=", Type::Boolean, Key::Resample},
    {"OBJDONEACTION=", Type::Lines, Key::DoneAction},
    {"AUTOSTART=", Type::Boolean, Key::AutoStart},
    {"AUTOREWIND=", Type::Boolean, Key::AutoRewind},
    {"LOOPTIMES=", Type::Integer, Key::LoopTimes},
    {"X1=", Type::Integer, Key::LineX1},
    {"Y1=", Type::Integer, Key::LineY1},
    {"X2=", Type::Integer, Key::LineX2},
    {"Y2=", Type::Integer, Key::LineY2},
    {"ENDCAPS=", Type::Integer, Key::EndCaps},
    {"POINTS=", Type::Text, Key::Points},
    {"INTERVAL=", Type::Integer, Key::Interval},
    {"AUTOSTOP=", Type::Boolean, Key::AutoStop},
    {"RUNONCE=", Type::Boolean, Key::RunOnce},
    {"MIN=", Type::Integer, Key::Minimum},
    {"MAX=", Type::Integer, Key::Maximum},
    {"THUMBSIZE=", Type::Integer, Key::ThumbSize},
    {"TRACKSIZE=", Type::Integer, Key::TrackSize},
    {"THUMBIMAGE=", Type::Text, Key::ThumbImage},
    {"TRACKIMAGE=", Type::Text, Key::TrackImage},
    {"THUMBTRANSCOLOR=", Type::Colour, Key::ThumbTransparentColour},
    {"TRACKTRANSCOLOR=", Type::Colour, Key::TrackTransparentColour},
    {"CHANGINGACTION=", Type::Lines, Key::ChangingAction},
    {"NAVCOMPACTION=", Type::Lines, Key::NavigationCompleteAction},
    {"TITLEVARNAME=", Type::VariableName, Key::TitleVariableName},
    {"URLVARNAME=", Type::VariableName, Key::UrlVariableName},
    {"CONTEXTMENU=", Type::Boolean, Key::ContextMenu},
    {"SILENTMODE=", Type::Boolean, Key::SilentMode},
    {"TRAPPOPUPS=", Type::Boolean, Key::TrapPopups},
    {"SHOWTOOLBAR=", Type::Boolean, Key::ShowToolBar},
    {"SHOWSTATUSBAR=", Type::Boolean, Key::ShowStatusBar},
    {"ENHSECURITY=", Type::Boolean, Key::EnhancedSecurity},
    {"OBJPLAYACTION=", Type::Lines, Key::PlayAction},
    {"OBJCANCELACTION=", Type::Lines, Key::CancelAction},
    {"SHOWCONTROLS=", Type::Boolean, Key::ShowControls},
    {"LOOPPLAYBACK=", Type::Boolean, Key::LoopPlayback},
    {"USEINTERNALLOOP=", Type::Boolean, Key::UseInternalLoop},
    {"USEBKNDCOLOR=", Type::Boolean, Key::UseBackgroundColour},
};

constexpr KeyRow kUnusedClassKeys[] = {
    {"VALIGN=", Type::Text, Key::VerticalAlign},
    {"LINKPOS=", Type::Text, Key::LinkPosition},
    {"EDITSCROLLBAR=", Type::Text, Key::EditScrollBar},
};

constexpr KeyRow kMenuKeys[] = {
    {"MENUBEGIN", Type::Marker, Key::MenuBegin},
    {"TRAYMENUBEGIN", Type::Marker, Key::TrayMenuBegin},
    {"MENUEND", Type::Marker, Key::MenuEnd},
    {"MENUNAME=", Type::Text, Key::MenuName},
    {"MENUTEXT=", Type::Text, Key::MenuText},
    {"MENUACTION=", Type::Lines, Key::MenuAction},
    {"MENUSTATE=", Type::Integer, Key::MenuState},
    {"MENUKEY=", Type::Integer, Key::MenuKey},
    {"MENUVAR=", Type::Text, Key::MenuVariable},
    {"MENUIMAGE=", Type::Text, Key::MenuImage},
    {"MENUIMTRANSCLR=", Type::Colour, Key::MenuImageTransparentColour},
};

std::vector<KeyDefinition> makeKeyDefinitions() {
    std::vector<KeyDefinition> definitions;
    const auto add = [&definitions](std::span<const KeyRow> rows, KeySection section) {
        for (const KeyRow& row : rows)
            definitions.push_back({row.text, row.type, section, row.key, LocalisedText::Ok});
    };
    add(kPublicationKeys, KeySection::Publication);
    add(kUnusedPublicationKeys, KeySection::Ignored);
    add(kPageKeys, KeySection::Page);
    add(kObjectKeys, KeySection::Object);
    add(kClassKeys, KeySection::ObjectClass);
    add(kUnusedClassKeys, KeySection::Ignored);
    add(kMenuKeys, KeySection::Menu);
    for (std::size_t index = 0; index < kLocalisedTextCount; ++index) {
        const auto id = static_cast<LocalisedText>(index);
        definitions.push_back(
            {localisedTextKey(id), Type::Text, KeySection::LocalisedText, Key::LocalisedText, id});
    }
    return definitions;
}

using KeyIndex = std::unordered_map<std::string_view, const KeyDefinition*, CaseInsensitiveHash,
                                    CaseInsensitiveEqual>;

const KeyIndex& keyIndex() {
    static const std::vector<KeyDefinition> definitions = makeKeyDefinitions();
    static const KeyIndex index = [] {
        KeyIndex built;
        for (const KeyDefinition& definition : definitions)
            built.emplace(definition.text, &definition);
        return built;
    }();
    return index;
}

constexpr std::size_t kKeyCount =
    static_cast<std::size_t>(PublicationKey::MenuImageTransparentColour) + 1;
using KeySet = std::bitset<kKeyCount>;

KeySet keySet(std::initializer_list<PublicationKey> keys) {
    KeySet set;
    for (const PublicationKey key : keys)
        set.set(static_cast<std::size_t>(key));
    return set;
}

// The class-key table; classes it does not list take only the keys of every class.
std::array<KeySet, 25> makeClassKeys() {
    using Class = tomelet::ObjectType;
    using enum PublicationKey;
    const KeySet font = keySet({TextColour, Font, FontSize, FontStyle, FontCharset});
    std::array<KeySet, 25> keys{};
    const auto set = [&keys](Class type, const KeySet& set) {
        keys[static_cast<std::size_t>(type)] = set;
    };
    const KeySet buttonImages =
        keySet({ImageStyle, UpImage, DownImage, OverImage, UpTransparentColour,
                DownTransparentColour, OverTransparentColour, LibraryImage, OverlayText});
    set(Class::PushButton, font | buttonImages |
                               keySet({Text, Action, RightClickAction, EnterAction, ExitAction,
                                       Hint, HotKey, Align, BevelWidth, XpTheme, DepressEffect}));
    const KeySet choice = font | keySet({Text, Action, EnterAction, ExitAction, Hint, HotKey, Align,
                                         VariableName, InitialState, XpTheme, AutoSize});
    set(Class::CheckBox, choice);
    set(Class::RadioButton, choice);
    set(Class::ComboBox, font | keySet({Text, Action, EnterAction, ExitAction, Hint, HotKey,
                                        VariableName, VariableType, Sorted, XpTheme}));
    set(Class::ListBox,
        font | keySet({Text, Action, DoubleClickAction, RightClickAction, EnterAction, ExitAction,
                       Hint, HotKey, VariableName, VariableType, Sorted, MultiSelect, XpTheme}));
    set(Class::EditField,
        font | keySet({Text, Action, EnterAction, ExitAction, SetFocusAction, LoseFocusAction, Hint,
                       HotKey, VariableName, Align, WordWrap, ScrollBar, EditLength, EditMask,
                       EditMultiLine, EditCase, EditPassword, EditNumber, EditCharacters}));
    set(Class::Text,
        font | keySet({Text, Action, RightClickAction, EnterAction, ExitAction, DragMode,
                       DropAction, DropTarget, HorizontalMargin, VerticalMargin}));
    set(Class::Article, font | keySet({FileName, WordWrap, ScrollBar, Hint, EnterAction, ExitAction,
                                       AllowCopy, OverrideFont}));
    set(Class::LinkedArticle,
        font | keySet({FileName, Text, EnterAction, ExitAction, AllowCopy, OverrideFont}));
    set(Class::Picture, keySet({FileName, Action, RightClickAction, EnterAction, ExitAction, Hint,
                                ScrollBar, PictureStyle, PictureTransparentColour, PictureMousePan,
                                PictureZoomFactor, Centered, Opacity, Resample}));
    set(Class::Animator, keySet({FileName, Action, EnterAction, ExitAction, Hint, DoneAction,
                                 AutoStart, AutoRewind, LoopTimes, AutoSize}));
    set(Class::Line, keySet({LineX1, LineY1, LineX2, LineY2, EndCaps}));
    set(Class::Polygon, keySet({Points, FileName, PictureStyle, PictureTransparentColour, Opacity,
                                Action, RightClickAction, EnterAction, ExitAction, Hint, DragMode,
                                DropAction, DropTarget}));
    set(Class::Container,
        keySet({Action, EnterAction, ExitAction, HorizontalMargin, VerticalMargin}));
    set(Class::Timer, keySet({Interval, Action, VariableName, AutoStart, AutoStop, RunOnce}));
    set(Class::TrackBar,
        keySet({Minimum, Maximum, Align, InitialState, VariableName, ThumbSize, TrackSize,
                ThumbImage, TrackImage, ThumbTransparentColour, TrackTransparentColour, Action,
                ChangingAction, EnterAction, ExitAction, Hint}));
    set(Class::WebBrowser,
        font | keySet({FileName, Action, NavigationCompleteAction, EnterAction, ExitAction,
                       VariableName, TitleVariableName, UrlVariableName, ScrollBar, ContextMenu,
                       SilentMode, TrapPopups, ShowToolBar, ShowStatusBar, EnhancedSecurity}));
    set(Class::MediaPlayer,
        keySet({FileName, Action, PlayAction, DoneAction, CancelAction, EnterAction, ExitAction,
                VariableName, PictureStyle, ShowControls, LoopPlayback}));
    set(Class::Flash, keySet({FileName, ImageStyle, AutoStart, LoopPlayback, AutoRewind,
                              UseInternalLoop, UseBackgroundColour, ContextMenu, EnhancedSecurity,
                              NavigationCompleteAction, DoneAction, CancelAction}));
    return keys;
}

} // namespace

std::optional<ObjectType> objectTypeFromNumber(std::int32_t number) {
    if (number < static_cast<std::int32_t>(ObjectType::Article) ||
        number > static_cast<std::int32_t>(ObjectType::LinkedArticle))
        return std::nullopt;
    return static_cast<ObjectType>(number);
}

const KeyDefinition* findPublicationKey(std::string_view keyText) {
    const KeyIndex& index = keyIndex();
    const auto found = index.find(keyText);
    return found == index.end() ? nullptr : found->second;
}

bool objectClassTakesKey(ObjectType type, PublicationKey key) {
    static const std::array<KeySet, 25> classKeys = makeClassKeys();
    return classKeys[static_cast<std::size_t>(type)].test(static_cast<std::size_t>(key));
}

} // namespace tomelet
