#include "shell/PublicationSummary.h"

#include "platform/CodePage.h"

#include <map>
#include <sstream>

namespace tomelet {
namespace {

const char* className(ObjectType type) {
    switch (type) {
    case ObjectType::Article:
        return "article";
    case ObjectType::PushButton:
        return "push button";
    case ObjectType::Picture:
        return "picture";
    case ObjectType::Rectangle:
        return "rectangle";
    case ObjectType::Circle:
        return "ellipse";
    case ObjectType::Line:
        return "line";
    case ObjectType::Text:
        return "text";
    case ObjectType::EditField:
        return "edit field";
    case ObjectType::ListBox:
        return "list box";
    case ObjectType::ComboBox:
        return "combo box";
    case ObjectType::CheckBox:
        return "check box";
    case ObjectType::RadioButton:
        return "radio button";
    case ObjectType::WebBrowser:
        return "web browser";
    case ObjectType::Timer:
        return "timer";
    case ObjectType::TrackBar:
        return "track bar";
    case ObjectType::RoundRectangle:
        return "rounded rectangle";
    case ObjectType::MediaPlayer:
        return "media player";
    case ObjectType::Animator:
        return "animated picture";
    case ObjectType::Group:
        return "group";
    case ObjectType::Container:
        return "container";
    case ObjectType::Flash:
        return "Flash";
    case ObjectType::Polygon:
        return "polygon";
    case ObjectType::LinkedArticle:
        return "linked article";
    }
    return "object";
}

void countObjects(const std::vector<ObjectDefinition>& objects, std::map<std::string, int>& byClass,
                  int& total) {
    for (const ObjectDefinition& object : objects) {
        ++byClass[className(object.type)];
        ++total;
        countObjects(object.children, byClass, total);
    }
}

void describePage(std::ostringstream& out, const PageDefinition& page, std::size_t index) {
    std::map<std::string, int> byClass;
    int total = 0;
    countObjects(page.objects, byClass, total);
    if (index == 0)
        out << "  master page: ";
    else
        out << "  page " << index << " \"" << toUtf8(page.name) << "\": ";
    out << total << (total == 1 ? " object" : " objects");
    const char* separator = " (";
    for (const auto& [name, count] : byClass) {
        out << separator << count << ' ' << name;
        separator = ", ";
    }
    out << (byClass.empty() ? "" : ")") << '\n';
}

int countMenuItems(const std::vector<MenuItemDefinition>& items) {
    int count = 0;
    for (const MenuItemDefinition& item : items)
        count += 1 + countMenuItems(item.children);
    return count;
}

} // namespace

std::string describePublication(const PublicationModel& model, const Package& package) {
    std::ostringstream out;
    const PublicationSettings& settings = model.settings;
    out << "Title: " << toUtf8(settings.title) << '\n';
    if (!settings.author.empty()) out << "Author: " << toUtf8(settings.author) << '\n';
    out << "Publication area: " << settings.screenWidth << " x " << settings.screenHeight << '\n';
    out << "Pages: " << model.pages.size() - 1 << " (and the master page)\n";
    for (std::size_t index = 0; index < model.pages.size(); ++index)
        describePage(out, model.pages[index], index);
    out << "Menu items: " << countMenuItems(model.mainMenu) << '\n';
    out << "Entries: " << package.entries().size() << '\n';
    for (const LibRec& entry : package.entries()) {
        out << "  " << toUtf8(entry.directoryName) << "  type " << int(entry.type) << ", "
            << entry.dataSize() << " bytes";
        if (entry.isCompressed()) out << " (" << entry.storedSize << " compressed)";
        if (entry.type == EntryType::picture)
            out << ", " << entry.imageWidth << " x " << entry.imageHeight
                << (entry.imageHasTransparency ? ", transparent" : "");
        out << '\n';
    }
    return out.str();
}

} // namespace tomelet
