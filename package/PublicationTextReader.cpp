#include "package/PublicationTextReader.h"

#include "package/PublicationTextLineReader.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <span>
#include <stdexcept>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>

namespace tomelet {
namespace {

// The reader keeps pointers to objects while their siblings grow; moving a vector of them
// keeps every nested buffer in place only when the moves cannot throw.
static_assert(std::is_nothrow_move_constructible_v<ObjectDefinition>);
static_assert(std::is_nothrow_move_constructible_v<PageDefinition>);
static_assert(std::is_nothrow_move_constructible_v<MenuItemDefinition>);

using Key = PublicationKey;

template <typename Record, typename Field> struct FieldOfKey {
    Key key;
    Field Record::*field;
};

template <typename Record, typename Field>
Field* findField(Record& record, std::span<const FieldOfKey<Record, Field>> fields, Key key) {
    const auto found = std::ranges::find(fields, key, &FieldOfKey<Record, Field>::key);
    return found == fields.end() ? nullptr : &(record.*(found->field));
}

using Settings = PublicationSettings;

constexpr FieldOfKey<Settings, std::string> kSettingsTexts[] = {
    {Key::Title, &Settings::title},
    {Key::Author, &Settings::author},
    {Key::PublicationVersion, &Settings::publicationVersion},
    {Key::WindowRegistryKey, &Settings::windowRegistryKey},
    {Key::ShapeFile, &Settings::shapeFile},
    {Key::HelpFile, &Settings::helpFile},
    {Key::ApplicationCursor, &Settings::applicationCursor},
    {Key::HotSpotCursor, &Settings::hotSpotCursor},
    {Key::DragCursor, &Settings::dragCursor},
    {Key::BusyCursor, &Settings::busyCursor},
    {Key::StartPassword, &Settings::startPassword},
    {Key::ExitPassword, &Settings::exitPassword},
    {Key::ReturnAction, &Settings::returnAction},
    {Key::StartupAction, &Settings::startupAction},
    {Key::ShutdownAction, &Settings::shutdownAction},
    {Key::ActivateAction, &Settings::activateAction},
    {Key::DeactivateAction, &Settings::deactivateAction},
    {Key::PageChangeAction, &Settings::pageChangeAction},
    {Key::ResizedAction, &Settings::resizedAction},
    {Key::SubroutineAction, &Settings::subroutineAction},
    {Key::AlertBoxImage, &Settings::alertBoxImage},
    {Key::MessageBoxImage, &Settings::messageBoxImage},
    {Key::ExitBoxImage, &Settings::exitBoxImage},
    {Key::CustomFontName, &Settings::customFontName},
    {Key::ExtractDirectory, &Settings::extractDirectory},
};

constexpr FieldOfKey<Settings, std::int32_t> kSettingsIntegers[] = {
    {Key::ScreenWidth, &Settings::screenWidth},
    {Key::ScreenHeight, &Settings::screenHeight},
    {Key::BackgroundColour, &Settings::backgroundColour},
    {Key::WindowStyle, &Settings::windowStyle},
    {Key::WindowOrder, &Settings::windowOrder},
    {Key::WindowProperties, &Settings::windowProperties},
    {Key::WindowPosition, &Settings::windowPosition},
    {Key::MinimumPublicationWidth, &Settings::minimumPublicationWidth},
    {Key::MinimumPublicationHeight, &Settings::minimumPublicationHeight},
    {Key::BidiMode, &Settings::bidiMode},
    {Key::ShapeTransparentColour, &Settings::shapeTransparentColour},
    {Key::ReturnTime, &Settings::returnTime},
    {Key::CustomFontSize, &Settings::customFontSize},
    {Key::LinkColour, &Settings::linkColour},
    {Key::ExtractOptions, &Settings::extractOptions},
};

constexpr FieldOfKey<Settings, bool> kSettingsBooleans[] = {
    {Key::ScreenAutoSize, &Settings::screenAutoSize},
    {Key::AllowEscape, &Settings::allowEscape},
    {Key::AllowPageUpDown, &Settings::allowPageUpDown},
    {Key::NoCtrlAltDel, &Settings::noCtrlAltDel},
    {Key::NoPrintScreen, &Settings::noPrintScreen},
    {Key::BypassPrintDialog, &Settings::bypassPrintDialog},
    {Key::ShowErrors, &Settings::showErrors},
    {Key::ShowMarquee, &Settings::showMarquee},
    {Key::UseUpdateTimer, &Settings::useUpdateTimer},
    {Key::AutoReturn, &Settings::autoReturn},
    {Key::MouseExit, &Settings::mouseExit},
};

constexpr FieldOfKey<PageBackground, std::string> kPageTexts[] = {
    {Key::PageWallpaper, &PageBackground::wallpaperFile},
    {Key::PageEnterAction, &PageBackground::enterAction},
    {Key::PageExitAction, &PageBackground::exitAction},
    {Key::PageEffect, &PageBackground::effect},
    {Key::EffectSpeed, &PageBackground::effectOptions},
};

constexpr FieldOfKey<PageBackground, std::int32_t> kPageIntegers[] = {
    {Key::PageStyle, &PageBackground::style},
    {Key::PageColour, &PageBackground::colour},
    {Key::PageGradientColour1, &PageBackground::gradientColour1},
    {Key::PageGradientColour2, &PageBackground::gradientColour2},
    {Key::PageGradientDirection, &PageBackground::gradientAngle},
    {Key::WallpaperStyle, &PageBackground::wallpaperStyle},
};

using OptionalInteger = std::optional<std::int32_t>;
using OptionalBoolean = std::optional<bool>;

constexpr FieldOfKey<ObjectDefinition, OptionalInteger> kObjectIntegers[] = {
    {Key::Left, &ObjectDefinition::left},
    {Key::Top, &ObjectDefinition::top},
    {Key::Width, &ObjectDefinition::width},
    {Key::Height, &ObjectDefinition::height},
    {Key::LineColour, &ObjectDefinition::lineColour},
    {Key::LineWidth, &ObjectDefinition::lineWidth},
    {Key::FillColour, &ObjectDefinition::fillColour},
    {Key::Anchor, &ObjectDefinition::anchor},
};

constexpr FieldOfKey<ObjectDefinition, OptionalBoolean> kObjectBooleans[] = {
    {Key::FillMode, &ObjectDefinition::transparent},
    {Key::Visible, &ObjectDefinition::visible},
    {Key::Enabled, &ObjectDefinition::enabled},
};

bool isAcceptedColourCount(std::int32_t count) {
    switch (count) {
    case 2:
    case 16:
    case 256:
    case 32768:
    case 65536:
    case 16777216:
        return true;
    default:
        return false;
    }
}

// Page names stay unique without case. Remembers per stem the first suffix that may still be
// free, so that many pages of one name cost linear time.
class PageNames {
public:
    std::string makeUnique(std::string_view name, std::size_t pageCount) {
        if (!name.empty() && !names_.contains(name)) return std::string(name);
        std::string stem(name);
        while (!stem.empty() && (stem.back() == ' ' || (stem.back() >= '0' && stem.back() <= '9')))
            stem.pop_back();
        if (stem.find(' ') != std::string::npos) stem.push_back(' ');
        std::size_t& suffix = firstFreeSuffix_.try_emplace(stem, 1).first->second;
        for (; suffix <= pageCount; ++suffix) {
            std::string candidate = stem + std::to_string(suffix);
            if (!names_.contains(candidate)) return candidate;
        }
        return std::string(name);
    }

    void add(const std::string& name) { names_.insert(name); }

private:
    std::unordered_set<std::string, CaseInsensitiveHash, CaseInsensitiveEqual> names_;
    std::unordered_map<std::string, std::size_t, CaseInsensitiveHash, CaseInsensitiveEqual>
        firstFreeSuffix_;
};

class NestingTooDeep : public std::runtime_error {
public:
    NestingTooDeep()
        : std::runtime_error("The publication text nests groups, containers or menus more than " +
                             std::to_string(kMaximumPublicationNesting) + " levels deep.") {}
};

class PublicationTextReader {
public:
    PublicationTextReader(PublicationModel& model, const PublicationReadOptions& options)
        : model_(model), options_(options) {}

    void read(InputStream& stream) {
        PublicationTextLineReader lines(stream, options_.progress);
        std::string line;
        while (lines.readLine(line)) {
            if (!applyLine(line)) return;
        }
    }

private:
    // False when the line ends reading.
    bool applyLine(std::string_view line) {
        const PublicationLine split = splitPublicationLine(line);
        const KeyDefinition* definition = findPublicationKey(split.key);
        if (definition == nullptr) return true;
        if (definition->type != KeyValueType::Marker && split.value.empty()) return true;
        if (!menuLevels_.empty()) {
            applyMenuLine(*definition, split.value);
            return true;
        }
        switch (definition->section) {
        case KeySection::Publication:
            applyPublicationKey(*definition, split.value);
            break;
        case KeySection::LocalisedText:
            model_.localisedTexts[static_cast<std::size_t>(definition->localisedText)] =
                split.value;
            break;
        case KeySection::Page:
            applyPageKey(*definition, split.value);
            break;
        case KeySection::Object:
            return applyObjectKey(*definition, split.value);
        case KeySection::ObjectClass:
            applyClassKey(*definition, split.value);
            break;
        case KeySection::Menu:
            beginMenu(definition->key);
            break;
        case KeySection::Ignored:
            break;
        }
        return true;
    }

    void applyPublicationKey(const KeyDefinition& definition, std::string_view value) {
        PublicationSettings& settings = model_.settings;
        if (definition.key == Key::EmbeddedFiles) {
            if (options_.testRun) model_.embeddedFiles = EmbeddedFileMap::parse(value);
            return;
        }
        if (std::string* text =
                findField<Settings, std::string>(settings, kSettingsTexts, definition.key)) {
            *text = readTextValue(definition.type, value);
            return;
        }
        if (bool* flag = findField<Settings, bool>(settings, kSettingsBooleans, definition.key)) {
            *flag = readBooleanValue(value);
            return;
        }
        const std::optional<std::int32_t> number = readIntegerValue(value);
        if (!number) return;
        switch (definition.key) {
        case Key::ScreenColours:
            if (isAcceptedColourCount(*number)) settings.screenColours = *number;
            return;
        case Key::CustomFontStyle:
            settings.customFontStyle = *number & 15;
            return;
        case Key::CustomCharset:
            settings.customCharset = *number & 0xFF;
            return;
        case Key::CacheSize:
            settings.cacheSize = std::max(*number, 1);
            return;
        default:
            if (std::int32_t* field =
                    findField<Settings, std::int32_t>(settings, kSettingsIntegers, definition.key))
                *field = *number;
        }
    }

    void applyPageKey(const KeyDefinition& definition, std::string_view value) {
        if (definition.key == Key::MasterPage) {
            currentPage_ = 0;
            return;
        }
        if (definition.key == Key::NewPage) {
            std::string name = pageNames_.makeUnique(value, model_.pages.size());
            pageNames_.add(name);
            model_.pages.push_back(PageDefinition{std::move(name), {}, {}});
            currentPage_ = model_.pages.size() - 1;
            return;
        }
        if (!currentPage_) return;
        PageBackground& background = model_.pages[*currentPage_].background;
        if (definition.key == Key::ShowMasterPage) {
            background.showMasterPage = readBooleanValue(value);
        } else if (definition.key == Key::PagePalette) {
            background.palette = readPaletteValue(value);
        } else if (std::string* text = findField<PageBackground, std::string>(
                       background, kPageTexts, definition.key)) {
            *text = readTextValue(definition.type, value);
        } else if (const std::optional<std::int32_t> number = readIntegerValue(value)) {
            if (std::int32_t* field = findField<PageBackground, std::int32_t>(
                    background, kPageIntegers, definition.key))
                *field = *number;
        }
    }

    // False when an end marker closes the top level, which ends reading.
    bool applyObjectKey(const KeyDefinition& definition, std::string_view value) {
        switch (definition.key) {
        case Key::ObjectType:
            createObject(value);
            return true;
        case Key::GroupBegin:
        case Key::ContainerBegin:
            if (currentObject_ == nullptr) return true;
            if (levels_.size() >= kMaximumPublicationNesting) throw NestingTooDeep();
            levels_.push_back(currentObject_);
            return true;
        case Key::GroupEnd:
        case Key::ContainerEnd:
            if (levels_.empty()) return false;
            levels_.pop_back();
            return true;
        default:
            if (currentObject_ != nullptr) applyCommonObjectKey(*currentObject_, definition, value);
            return true;
        }
    }

    void createObject(std::string_view value) {
        const std::optional<std::int32_t> number = readIntegerValue(value);
        const std::optional<ObjectType> type =
            number ? objectTypeFromNumber(*number) : std::nullopt;
        if (!type) return;
        std::vector<ObjectDefinition>* siblings = nullptr;
        if (!levels_.empty())
            siblings = &levels_.back()->children;
        else if (currentPage_)
            siblings = &model_.pages[*currentPage_].objects;
        if (siblings == nullptr) return;
        currentObject_ = &siblings->emplace_back();
        currentObject_->type = *type;
        pendingEndPoints_ = {};
    }

    static void applyCommonObjectKey(ObjectDefinition& object, const KeyDefinition& definition,
                                     std::string_view value) {
        if (definition.key == Key::Name) {
            object.name = value;
            return;
        }
        if (OptionalBoolean* flag = findField<ObjectDefinition, OptionalBoolean>(
                object, kObjectBooleans, definition.key)) {
            *flag = readBooleanValue(value);
            return;
        }
        const std::optional<std::int32_t> number = readIntegerValue(value);
        if (!number) return;
        switch (definition.key) {
        case Key::LineStyle:
            if (*number >= 0 && *number <= 7) object.lineStyle = *number;
            return;
        case Key::FillPattern:
            object.fillPattern = *number & 0xFF;
            return;
        case Key::TabOrder:
            object.tabOrder = *number & 0xFFFF;
            return;
        default:
            if (OptionalInteger* field = findField<ObjectDefinition, OptionalInteger>(
                    object, kObjectIntegers, definition.key))
                *field = *number;
        }
    }

    void applyClassKey(const KeyDefinition& definition, std::string_view value) {
        if (currentObject_ == nullptr || !objectClassTakesKey(currentObject_->type, definition.key))
            return;
        switch (definition.key) {
        case Key::LineX1:
        case Key::LineY1:
        case Key::LineX2:
        case Key::LineY2:
            applyLineEndPoint(definition.key, value);
            return;
        default:
            currentObject_->classKeys.push_back(
                {definition.key, readTextValue(definition.type, value)});
        }
    }

    void applyLineEndPoint(Key key, std::string_view value) {
        const std::optional<std::int32_t> number = readIntegerValue(value);
        if (!number) return;
        switch (key) {
        case Key::LineX1:
            pendingEndPoints_.x1 = *number;
            return;
        case Key::LineY1:
            pendingEndPoints_.y1 = *number;
            return;
        case Key::LineX2:
            pendingEndPoints_.x2 = *number;
            return;
        default:
            pendingEndPoints_.y2 = *number;
            currentObject_->lineEndPoints = pendingEndPoints_;
        }
    }

    // Outside menu blocks only the block markers count.
    void beginMenu(Key key) {
        if (key == Key::MenuBegin) {
            model_.mainMenu.clear();
            menuLevels_.push_back(&model_.mainMenu);
        } else if (key == Key::TrayMenuBegin) {
            // A tray block in another kind of publication is skipped as a whole, so that its
            // submenus cannot be taken for a main menu.
            if (options_.trayPublication) model_.trayMenu.clear();
            menuLevels_.push_back(options_.trayPublication ? &model_.trayMenu : nullptr);
        }
    }

    // Inside a menu block. A level without items (nullptr) is read and dropped.
    void applyMenuLine(const KeyDefinition& definition, std::string_view value) {
        if (definition.section != KeySection::Menu) return;
        std::vector<MenuItemDefinition>* items = menuLevels_.back();
        switch (definition.key) {
        case Key::MenuBegin:
            if (menuLevels_.size() >= kMaximumPublicationNesting) throw NestingTooDeep();
            menuLevels_.push_back(items != nullptr && !items->empty() ? &items->back().children
                                                                      : nullptr);
            return;
        case Key::MenuEnd:
            menuLevels_.pop_back();
            return;
        case Key::MenuName:
            if (items != nullptr) {
                MenuItemDefinition item;
                item.name = value;
                item.caption = value;
                items->push_back(std::move(item));
            }
            return;
        default:
            if (items != nullptr && !items->empty())
                applyMenuItemKey(items->back(), definition, value);
        }
    }

    static void applyMenuItemKey(MenuItemDefinition& item, const KeyDefinition& definition,
                                 std::string_view value) {
        switch (definition.key) {
        case Key::MenuText:
            item.caption = value;
            return;
        case Key::MenuAction:
            item.action = readLinesValue(value);
            return;
        case Key::MenuVariable:
            item.checkVariable = value;
            return;
        case Key::MenuImage:
            item.imageFile = value;
            return;
        default:
            break;
        }
        const std::optional<std::int32_t> number = readIntegerValue(value);
        if (!number) return;
        if (definition.key == Key::MenuState)
            item.state = *number;
        else if (definition.key == Key::MenuKey)
            item.shortcut = *number & 0xFFFF;
        else if (definition.key == Key::MenuImageTransparentColour)
            item.imageTransparentColour = *number;
    }

    PublicationModel& model_;
    const PublicationReadOptions& options_;
    PageNames pageNames_;
    std::optional<std::size_t> currentPage_;
    ObjectDefinition* currentObject_ = nullptr;
    LineEndPoints pendingEndPoints_;
    // The holders of the open group and container levels; empty at the top level.
    std::vector<ObjectDefinition*> levels_;
    // The item lists of the open menu levels; empty outside menu blocks.
    std::vector<std::vector<MenuItemDefinition>*> menuLevels_;
};

} // namespace

PublicationReadResult readPublicationText(InputStream& stream,
                                          const PublicationReadOptions& options) {
    PublicationReadResult result;
    try {
        PublicationTextReader(result.model, options).read(stream);
        result.success = true;
    } catch (const std::exception& error) {
        result.errorMessage = error.what();
    }
    return result;
}

} // namespace tomelet
