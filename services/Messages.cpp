#include "services/Messages.h"

#include <algorithm>
#include <iterator>

namespace tomelet {

namespace {

struct Message {
    int number;
    std::string_view text;
};

// Sorted by number; the numbers left out (235, 237, 257-299) are unassigned.
constexpr Message kMessages[] = {
    {202, "OK"},
    {203, "Invalid DOS function!"},
    {204, "File not found!"},
    {205, "Invalid filename or directory!"},
    {206, "Too many files open!"},
    {207, "Access denied!"},
    {208, "Invalid file handle!"},
    {209, "Not enough memory!"},
    {210, "Invalid file access code!"},
    {211, "Invalid drive!"},
    {212, "Cannot remove current directory."},
    {213, "Disk read error! File may be damaged."},
    {214, "The disk is full!"},
    {215, "Invalid file format!"},
    {216, "Disk is write protected!"},
    {217, "Drive is empty!"},
    {218, "CRC error in data!"},
    {219, "Disk seek error!"},
    {220, "Unknown media type!"},
    {221, "Sector not found!"},
    {222, "The printer is out of paper!"},
    {223, "Device write fault!"},
    {224, "Device read fault!"},
    {225, "Hardware failure!"},
    {226, "Unable to create temporary file!"},
    {227, "Unknown Error #"},
    {228, "Unknown"},
    {229, "Cannot modify value of read-only global variable"},
    {230, "This Plug-In is already installed! Shut down and restart Tomelet to reload."},
    {231, "This is not a Tomelet Plug-In!"},
    {232, "This file does not exist!"},
    {233, "Unable to load this Plug-In!"},
    {234, "This Plug-In's name conflicts with a previously installed Plug-In.|Please contact the "
          "Plug-In vendor."},
    {236, "Unable to access resource data."},
    {238, "Sending eMail. Do you want to cancel?"},
    {239, "This action requires %s parameter(s)."},
    {240, "Action references a subroutine that does not exist."},
    {241, "This expression is missing a quotation mark."},
    {242, "Syntax Error!"},
    {243, "Unable to load image."},
    {244, "Action references a label that does not exist."},
    {245, "A function with this name does not exist."},
    {246, "This page does not exist."},
    {247, "I don't understand this command!"},
    {248, "Unable to connect to email host:"},
    {249, "An email server was not specified."},
    {250, "SendMail Canceled."},
    {251, "This object does not exist."},
    {252, "This is not a valid object info type."},
    {253, "Invalid registry key!"},
    {254, "Loop action requires a variable."},
    {255, "Page change actions are not allowed here."},
    {256, "This is not an application! Try another exe file."},
    {300, "File cannot be copied onto itself."},
    {301, "Cannot copy file."},
    {302, "You do not have enough memory or the|program is corrupt or invalid."},
    {303, "File does not exist."},
    {304, "Path does not exist."},
    {305, "An attempt was made to dynamically link to a task,|or there was a sharing or "
          "network-protection error."},
    {306, "There is insufficient memory to start this application."},
    {307, "This application requires a different version of Windows."},
    {308, "The application's executable file is invalid. Either|it is not a Windows application or "
          "the file is corrupt."},
    {309, "This application was designed for a different operating system."},
    {310, "This application is already running and cannot be loaded twice."},
    {311, "This application is compressed. The file must|be decompressed before it can be loaded."},
    {312, "A dynamic-link library (DLL) required by this application was invalid."},
    {313, "This application requires Windows 32-bit extensions."},
    {314, "No application is associated with this file!"},
    {315, "Unable to load this application."},
    {316, "Unable to remove this folder."},
    {317, "Cancel"},
    {318, "File was not downloaded from remote server."},
    {319, "Downloading..."},
    {320, "Invalid input value. Use ESC to abandon changes."},
    {321, "The %s action cannot originate from a Web Browser link."},
    {322, "Unable to initialize debugger."},
    {323, "This mathematical equation contains a syntax error."},
    {324, "\"%s\" is not a valid integer value."},
    {325, "\"%s\" is not a valid currency value."},
    {326, "\"%s\" is not a valid decimal value."},
    {327, "\"%s\" is not a valid boolean value."},
    {328, "\"%s\" is not a valid date value."},
    {329, "Cannot change the type of global variable \"%s\"."},
    {330, "\"%s\" is not a valid variable type."},
    {331, "Could not identify application's main window."},
    {332, "Cannot find application."},
    {333, "An application is already attached to %s."},
    {334, "This application does not have a menu."},
    {335, "Application does not accept dropped files."},
    {336, "Invalid key"},
    {337, "Missing \"}\""},
    {338, "%s is not a valid operator."},
    {339, "Expression is missing an operator."},
    {340, "Invalid expression."},
    {341, "Object does not have a caption."},
    {342, "Object does not have a file name."},
    {343, "This menu item does not exist."},
    {344, "Internet connection error."},
    {345, "Page navigation is not allowed in single page test mode."},
    {346, "Exit action is not valid outside of loop."},
    {347, "This element does not exist."},
    {348, "Action requires visible object."},
    {349, "Only one Internet action is allowed at a time."},
};

struct FileError {
    int code;
    int message;
};

constexpr FileError kFileErrors[] = {
    {1, 203},   {2, 204},   {3, 205},   {4, 206},   {5, 207},   {6, 208},
    {8, 209},   {12, 210},  {15, 211},  {16, 212},  {100, 213}, {101, 214},
    {106, 215}, {150, 216}, {152, 217}, {154, 218}, {156, 219}, {157, 220},
    {158, 221}, {159, 222}, {160, 223}, {161, 224}, {162, 225}, {10001, 226},
};

constexpr int kUnknownErrorMessage = 227;

} // namespace

std::string GetMessageText(int number) {
    const auto found = std::lower_bound(
        std::begin(kMessages), std::end(kMessages), number,
        [](const Message& message, int wanted) { return message.number < wanted; });
    if (found == std::end(kMessages) || found->number != number) return {};
    return std::string(found->text);
}

std::string FileErrorText(int code) {
    switch (code) {
    case 0:
        return {};
    case 64:
        return "The specified network name is no longer available.";
    case 1231:
        return "Network unreachable.";
    default:
        break;
    }
    const auto found = std::find_if(std::begin(kFileErrors), std::end(kFileErrors),
                                    [code](const FileError& error) { return error.code == code; });
    if (found != std::end(kFileErrors)) return GetMessageText(found->message);
    return GetMessageText(kUnknownErrorMessage) + std::to_string(code);
}

std::vector<std::string> splitDisplayLines(std::string_view text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        const std::size_t bar = text.find('|', start);
        lines.emplace_back(text.substr(start, bar - start));
        if (bar == std::string_view::npos) return lines;
        start = bar + 1;
    }
}

std::string expandLineBreaks(std::string_view text) {
    std::string expanded(text);
    std::replace(expanded.begin(), expanded.end(), '|', '\n');
    return expanded;
}

} // namespace tomelet
