#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// The runtime's own captions, translated by each publication through its L_* keys, in the
// order the publication text lists them.
enum class LocalisedText {
    Ok,
    Cancel,
    Yes,
    No,
    Close,
    ErrorTitle,
    FindTitle,
    FindPrompt,
    FindFirst,
    FindNext,
    FindError,
    PasswordTitle,
    PasswordMessage,
    PasswordPrompt,
    PasswordError,
    MediaError,
    InternetError,
    AbortFunction,
    ExtractError,
    InstallDirectoryPrompt,
    InstallFolderPrompt,
    InstallRunPrompt,
    InstallDiskPrompt,
    InstallDiskError,
    InstallGeneralError,
    InstallExitPrompt,
    InstallWindowTitle,
    InstallProgressTitle,
    InstallSubtitle,
    SendEmail,
    MailServer,
    Copy,
    SelectAll,
    DownloadFile,
    PleaseWait,
};

inline constexpr std::size_t kLocalisedTextCount = 35;

// The key as the publication text writes it, with its "=": "L_OK=", ..., "L_DONWLOADFILE="
// (sic, the publications' spelling).
std::string_view localisedTextKey(LocalisedText id);

// The key's text without case and with or without the trailing "=" ("l_ok" or "L_OK="),
// or none for any other text.
std::optional<LocalisedText> findLocalisedText(std::string_view key);

// The English text the authoring tool writes for the key ("|" is a line break; empty for
// L_INSTSUBTITLE). The player itself never falls back on it: a publication without a key
// shows an empty text.
std::string_view standardLocalisedText(LocalisedText id);

// One text per key, empty when the publication lacks it.
using LocalisedTextTable = std::array<std::string, kLocalisedTextCount>;

} // namespace tomelet
