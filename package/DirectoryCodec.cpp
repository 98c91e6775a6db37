#include "package/DirectoryCodec.h"

#include "package/ByteCursor.h"

#include <limits>
#include <stdexcept>

namespace tomelet {
namespace {

// Reads one field into `target`, or records why it could not and reports false.
template <typename Value, typename Target>
bool take(std::optional<Value> value, Target& target, DecodedDirectory& result, const char* field) {
    if (!value) {
        result.error = std::string("directory ends inside the ") + field + " field";
        return false;
    }
    target = static_cast<Target>(*value);
    return true;
}

bool decodeHeader(ByteCursor& cursor, DecodedDirectory& result) {
    PackageDirectory& directory = result.directory;
    if (!take(cursor.readInt32(), directory.reserved, result, "reserved")) return false;
    if (!take(cursor.readByte(), directory.testRunMode, result, "test-run mode")) return false;
    if (directory.testRunMode == TestRunMode::testRunWithStartPage) {
        directory.testRunMode = TestRunMode::testRun;
        std::int32_t startPage = 1;
        if (!take(cursor.readInt32(), startPage, result, "start page")) return false;
        directory.startPage = startPage;
    }
    if (directory.isTestRun()) {
        for (std::string& text : directory.testRunTexts)
            if (!take(cursor.readText16(), text, result, "test-run text")) return false;
    }
    if (!take(cursor.readByte(), directory.publicationKind, result, "publication kind"))
        return false;
    std::uint8_t flag = 0;
    if (!take(cursor.readByte(), flag, result, "single instance")) return false;
    directory.singleInstance = flag == 1;
    if (directory.publicationKind == PublicationKind::application) {
        if (!take(cursor.readByte(), flag, result, "display change")) return false;
        directory.changeDisplay = flag == 1;
        if (directory.changeDisplay) {
            if (!take(cursor.readInt32(), directory.displayWidth, result, "display width") ||
                !take(cursor.readInt32(), directory.displayHeight, result, "display height") ||
                !take(cursor.readByte(), directory.displayDepth, result, "display depth"))
                return false;
        }
    }
    if (!take(cursor.readText16(), directory.splashImage, result, "splash image")) return false;
    if (!take(cursor.readByte(), directory.splashOptions, result, "splash options")) return false;
    if (directory.publicationKind == PublicationKind::screenSaver &&
        !take(cursor.readText16(), directory.previewImage, result, "preview image"))
        return false;
    return true;
}

bool decodeEntry(ByteCursor& cursor, DecodedDirectory& result) {
    LibRec entry;
    if (!take(cursor.readText16(), entry.directoryName, result, "entry name") ||
        !take(cursor.readByte(), entry.type, result, "entry type") ||
        !take(cursor.readInt32(), entry.size, result, "entry size") ||
        !take(cursor.readInt32(), entry.offset, result, "entry offset") ||
        !take(cursor.readInt32(), entry.storedSize, result, "entry stored size"))
        return false;
    if (entry.type == EntryType::picture) {
        std::uint8_t transparency = 0;
        if (!take(cursor.readInt32(), entry.imageWidth, result, "image width") ||
            !take(cursor.readInt32(), entry.imageHeight, result, "image height") ||
            !take(cursor.readByte(), transparency, result, "image transparency"))
            return false;
        entry.imageHasTransparency = transparency == 1;
    }
    entry.currentName = entry.directoryName;
    result.entries.push_back(std::move(entry));
    return true;
}

void appendText16(std::string& out, std::string_view text) {
    if (text.size() > std::numeric_limits<std::uint16_t>::max())
        throw std::invalid_argument("text longer than 65535 bytes cannot be stored: " +
                                    std::string(text.substr(0, 60)) + "...");
    out.push_back(static_cast<char>(text.size() & 0xFF));
    out.push_back(static_cast<char>(text.size() >> 8));
    out.append(text);
}

void appendByte(std::string& out, std::uint8_t value) {
    out.push_back(static_cast<char>(value));
}

} // namespace

DecodedDirectory decodeDirectory(std::string_view bytes) {
    DecodedDirectory result;
    ByteCursor cursor(bytes);
    if (!decodeHeader(cursor, result)) return result;
    while (!cursor.atEnd())
        if (!decodeEntry(cursor, result)) break;
    return result;
}

std::string encodeDirectory(const PackageDirectory& directory, const std::vector<LibRec>& entries) {
    if (directory.publicationKind > PublicationKind::trayApplication)
        throw std::invalid_argument("unknown publication kind " +
                                    std::to_string(directory.publicationKind));
    std::string out;
    appendInt32(out, directory.reserved);
    const bool withStartPage =
        directory.testRunMode == TestRunMode::testRun && directory.startPage.has_value();
    appendByte(out, withStartPage ? TestRunMode::testRunWithStartPage : directory.testRunMode);
    if (withStartPage) appendInt32(out, *directory.startPage);
    if (directory.isTestRun())
        for (const std::string& text : directory.testRunTexts)
            appendText16(out, text);
    appendByte(out, directory.publicationKind);
    appendByte(out, directory.singleInstance ? 1 : 0);
    if (directory.publicationKind == PublicationKind::application) {
        appendByte(out, directory.changeDisplay ? 1 : 0);
        if (directory.changeDisplay) {
            appendInt32(out, directory.displayWidth);
            appendInt32(out, directory.displayHeight);
            appendByte(out, directory.displayDepth);
        }
    }
    appendText16(out, directory.splashImage);
    appendByte(out, directory.splashOptions);
    if (directory.publicationKind == PublicationKind::screenSaver)
        appendText16(out, directory.previewImage);

    for (const LibRec& entry : entries) {
        appendText16(out, entry.directoryName);
        appendByte(out, entry.type);
        appendInt32(out, entry.size);
        appendInt32(out, entry.offset);
        appendInt32(out, entry.storedSize);
        if (entry.type == EntryType::picture) {
            appendInt32(out, entry.imageWidth);
            appendInt32(out, entry.imageHeight);
            appendByte(out, entry.imageHasTransparency ? 1 : 0);
        }
    }
    return out;
}

} // namespace tomelet
