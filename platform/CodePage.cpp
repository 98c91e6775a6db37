#include "platform/CodePage.h"

#include <algorithm>
#include <atomic>

namespace tomelet {

namespace {

// Unicode's simple case pairs for the scripts single-byte code pages cover (Latin-1,
// Latin Extended-A, Greek, Cyrillic). Characters whose other case is not a single code
// point, or is special (dotless i, micro sign, long s), have none.
char32_t unicodeUpper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        const bool oddIsLower = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
        if (oddIsLower) return (c % 2 == 1) ? c - 1 : c;
        return (c % 2 == 0 && c != 0x178) ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 0x20;
    if (c == 0x3C2) return 0x3A3;
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    if (((c >= 0x460 && c <= 0x481) || (c >= 0x490 && c <= 0x4BF)) && c % 2 == 1) return c - 1;
    return c;
}

char32_t unicodeLower(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        const bool evenIsUpper = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
        if (evenIsUpper) return (c % 2 == 0) ? c + 1 : c;
        return (c % 2 == 1 && c != 0x17F) ? c + 1 : c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (((c >= 0x460 && c <= 0x481) || (c >= 0x490 && c <= 0x4BF)) && c % 2 == 0) return c + 1;
    return c;
}

std::array<char32_t, 256> latin1Table() {
    std::array<char32_t, 256> table{};
    for (std::size_t byte = 0; byte < table.size(); ++byte)
        table[byte] = static_cast<char32_t>(byte);
    return table;
}

std::array<char32_t, 256> windows1252Table() {
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D keep their C1 control values.
    static constexpr char32_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    std::array<char32_t, 256> table = latin1Table();
    std::copy(std::begin(high), std::end(high), table.begin() + 0x80);
    return table;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `position`, advancing past it. Returns none for a malformed
// sequence (bad lead byte, missing continuation, overlong form, surrogate, beyond U+10FFFF),
// after advancing past the bytes that belong to the bad sequence only.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& position) {
    const auto lead = static_cast<unsigned char>(text[position++]);
    if (lead < 0x80) return lead;
    std::size_t continuationCount = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuationCount = 1;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuationCount = 2;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuationCount = 3;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    for (std::size_t index = 0; index < continuationCount; ++index) {
        if (position >= text.size()) return std::nullopt;
        const auto next = static_cast<unsigned char>(text[position]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (next & 0x3F);
        ++position;
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    return c;
}

// Constant-initialised, so texts compared during other files' static initialisation already
// see Windows-1252; nullptr stands for it.
std::atomic<const CodePage*> currentCodePage{nullptr};

} // namespace

CodePage::CodePage(std::string_view name, const std::array<char32_t, 256>& unicode)
    : name_(name), unicode_(unicode) {
    for (std::size_t byte = 0; byte < 256; ++byte) {
        const char32_t c = unicode_[byte];
        upper_[byte] = fromUnicode(unicodeUpper(c)).value_or(static_cast<unsigned char>(byte));
        lower_[byte] = fromUnicode(unicodeLower(c)).value_or(static_cast<unsigned char>(byte));
    }
}

const CodePage& CodePage::windows1252() {
    static const CodePage codePage("windows-1252", windows1252Table());
    return codePage;
}

const CodePage& CodePage::latin1() {
    static const CodePage codePage("iso-8859-1", latin1Table());
    return codePage;
}

const CodePage& CodePage::current() {
    const CodePage* codePage = currentCodePage.load(std::memory_order_relaxed);
    return codePage ? *codePage : windows1252();
}

void CodePage::setCurrent(const CodePage& codePage) {
    currentCodePage.store(&codePage, std::memory_order_relaxed);
}

std::optional<unsigned char> CodePage::fromUnicode(char32_t codePoint) const {
    // Most texts are ASCII or Latin-1, which sit at their own value in both built-in pages.
    if (codePoint < 256 && unicode_[codePoint] == codePoint)
        return static_cast<unsigned char>(codePoint);
    const auto found = std::find(unicode_.begin(), unicode_.end(), codePoint);
    if (found == unicode_.end()) return std::nullopt;
    return static_cast<unsigned char>(found - unicode_.begin());
}

std::string CodePage::toUtf8(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes)
        appendUtf8(out, toUnicode(static_cast<unsigned char>(byte)));
    return out;
}

std::string CodePage::fromUtf8(std::string_view utf8) const {
    std::string out;
    out.reserve(utf8.size());
    std::size_t position = 0;
    while (position < utf8.size()) {
        const std::optional<char32_t> c = decodeUtf8(utf8, position);
        const std::optional<unsigned char> byte = c ? fromUnicode(*c) : std::nullopt;
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}

std::string CodePage::upper(std::string_view text) const {
    std::string out(text);
    for (char& byte : out)
        byte = upper(byte);
    return out;
}

std::string CodePage::lower(std::string_view text) const {
    std::string out(text);
    for (char& byte : out)
        byte = lower(byte);
    return out;
}

bool CodePage::equalsIgnoreCase(std::string_view first, std::string_view second) const {
    if (first.size() != second.size()) return false;
    for (std::size_t index = 0; index < first.size(); ++index) {
        if (upper(first[index]) != upper(second[index])) return false;
    }
    return true;
}

int CodePage::compareIgnoreCase(std::string_view first, std::string_view second) const {
    const std::size_t common = std::min(first.size(), second.size());
    for (std::size_t index = 0; index < common; ++index) {
        const auto a = static_cast<unsigned char>(upper(first[index]));
        const auto b = static_cast<unsigned char>(upper(second[index]));
        if (a != b) return a < b ? -1 : 1;
    }
    if (first.size() == second.size()) return 0;
    return first.size() < second.size() ? -1 : 1;
}

std::string toUtf8(std::string_view bytes) {
    return CodePage::current().toUtf8(bytes);
}
std::string fromUtf8(std::string_view utf8) {
    return CodePage::current().fromUtf8(utf8);
}
char upper(char byte) {
    return CodePage::current().upper(byte);
}
char lower(char byte) {
    return CodePage::current().lower(byte);
}
std::string upper(std::string_view text) {
    return CodePage::current().upper(text);
}
std::string lower(std::string_view text) {
    return CodePage::current().lower(text);
}

bool equalsIgnoreCase(std::string_view first, std::string_view second) {
    return CodePage::current().equalsIgnoreCase(first, second);
}

int compareIgnoreCase(std::string_view first, std::string_view second) {
    return CodePage::current().compareIgnoreCase(first, second);
}

std::size_t CaseInsensitiveHash::operator()(std::string_view text) const {
    const CodePage& codePage = CodePage::current();
    std::size_t hash = 14695981039346656037ull;
    for (const char byte : text) {
        hash ^= static_cast<unsigned char>(codePage.upper(byte));
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace tomelet
