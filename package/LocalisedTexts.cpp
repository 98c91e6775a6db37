#include "package/LocalisedTexts.h"

#include "platform/CodePage.h"

namespace tomelet {

namespace {

struct LocalisedTextEntry {
    std::string_view key;
    std::string_view standardText;
};

// In the order of LocalisedText.
constexpr LocalisedTextEntry kEntries[kLocalisedTextCount] = {
    {"L_OK=", "OK"},
    {"L_CANCEL=", "Cancel"},
    {"L_YES=", "Yes"},
    {"L_NO=", "No"},
    {"L_CLOSE=", "Close"},
    {"L_ERRORTITLE=", "Error"},
    {"L_FINDTITLE=", "Find"},
    {"L_FINDPROMPT=", "Find &What"},
    {"L_FINDFIRST=", "&Find First"},
    {"L_FINDNEXT=", "Find &Next"},
    {"L_FINDERROR=", "Search text not found."},
    {"L_PWORDTITLE=", "Password required"},
    {"L_PWORDMSG=", "Before continuing, you must first|enter the correct password."},
    {"L_PWORDPROMPT=", "&Password:"},
    {"L_PWORDERROR=", "That's not the right password!"},
    {"L_MEDIAERROR=", "In order to play this type of file you must install|the appropriate "
                      "multimedia hardware and/or|software."},
    {"L_INTERNETERROR=", "Unable to locate Internet Browser software."},
    {"L_ABORTFUNCTION=", "Do you want to cancel this function?"},
    {"L_EXTRACTERROR=", "This file could not be extracted and cannot be played."},
    {"L_INSTDIRPROMPT=",
     "Please enter the drive and directory where you would like this program to be installed. To "
     "accept the default drive and directory, simply press Enter."},
    {"L_INSTFOLDERPROMPT=", "Do you wish to create a program folder?"},
    {"L_INSTRUNPROMPT=", "Do you want to run"},
    {"L_INSTDISKPROMPT=", "Please insert disk #"},
    {"L_INSTDISKERROR=", "That's not the correct disk, try again."},
    {"L_INSTGENERROR=", "The installation has terminated."},
    {"L_INSTEXITPROMPT=", "Do you really want to cancel the installation?"},
    {"L_INSTWINTITLE=", "Setup"},
    {"L_INSTPROGTITLE=", "Extracting Files..."},
    {"L_INSTSUBTITLE=", ""},
    {"L_SENDEMAIL=", "Sending Mail..."},
    {"L_MAILSERVER=", "Please enter the name of your outgoing email server:"},
    {"L_COPY=", "Copy to Clipboard"},
    {"L_SELECTALL=", "Select All"},
    {"L_DONWLOADFILE=", "Downloading: %s"},
    {"L_PLEASEWAIT=", "Please wait..."},
};

const LocalisedTextEntry& entry(LocalisedText id) {
    return kEntries[static_cast<std::size_t>(id)];
}

} // namespace

std::string_view localisedTextKey(LocalisedText id) {
    return entry(id).key;
}

std::string_view standardLocalisedText(LocalisedText id) {
    return entry(id).standardText;
}

std::optional<LocalisedText> findLocalisedText(std::string_view key) {
    if (!key.empty() && key.back() == '=') key.remove_suffix(1);
    for (std::size_t index = 0; index < kLocalisedTextCount; ++index) {
        std::string_view candidate = kEntries[index].key;
        candidate.remove_suffix(1);
        if (equalsIgnoreCase(candidate, key)) return static_cast<LocalisedText>(index);
    }
    return std::nullopt;
}

} // namespace tomelet
