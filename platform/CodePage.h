#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// A single-byte code page: the encoding of every text inside the player. Texts stay bytes
// (positions and lengths count bytes); Unicode appears only at the platform boundary, through
// toUtf8() and fromUtf8().
//
// A code page is its table of 256 Unicode code points; the case mapping is derived from that
// table, so adding a code page means adding its table (or filling one through iconv) in
// CodePage.cpp and nothing else.
class CodePage {
public:
    // Windows-1252 with every byte defined: the five bytes Windows leaves unassigned
    // (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as Windows'
    // own conversion does, so every byte survives a round trip through Unicode.
    static const CodePage& windows1252();
    // ISO-8859-1: byte n is U+00nn.
    static const CodePage& latin1();

    // The code page texts are in for the whole process; Windows-1252 until set.
    static const CodePage& current();
    // `codePage` must outlive its use as the current one (the built-in pages live forever).
    static void setCurrent(const CodePage& codePage);

    std::string_view name() const { return name_; }

    char32_t toUnicode(unsigned char byte) const { return unicode_[byte]; }
    // The byte for a code point, or none when the code page lacks the character.
    std::optional<unsigned char> fromUnicode(char32_t codePoint) const;

    std::string toUtf8(std::string_view bytes) const;
    // Characters the code page lacks, and malformed UTF-8 sequences, become "?".
    std::string fromUtf8(std::string_view utf8) const;

    // Single-byte case mapping: a byte whose other case is not in the code page (for
    // Windows-1252: 0xDF sharp s, 0xB5 micro sign) stays as it is.
    char upper(char byte) const {
        return static_cast<char>(upper_[static_cast<unsigned char>(byte)]);
    }
    char lower(char byte) const {
        return static_cast<char>(lower_[static_cast<unsigned char>(byte)]);
    }
    std::string upper(std::string_view text) const;
    std::string lower(std::string_view text) const;

    // The one case-insensitive comparison of the player: compares the upper-case forms byte
    // by byte (as unsigned bytes).
    bool equalsIgnoreCase(std::string_view first, std::string_view second) const;
    // Negative, zero or positive, like std::string::compare on the upper-case forms.
    int compareIgnoreCase(std::string_view first, std::string_view second) const;

private:
    CodePage(std::string_view name, const std::array<char32_t, 256>& unicode);

    std::string_view name_;
    std::array<char32_t, 256> unicode_;
    std::array<unsigned char, 256> upper_;
    std::array<unsigned char, 256> lower_;
};

// The same operations in the current code page; this is what the rest of the player calls.
std::string toUtf8(std::string_view bytes);
std::string fromUtf8(std::string_view utf8);
char upper(char byte);
char lower(char byte);
std::string upper(std::string_view text);
std::string lower(std::string_view text);
bool equalsIgnoreCase(std::string_view first, std::string_view second);
int compareIgnoreCase(std::string_view first, std::string_view second);

// For unordered containers keyed by names that compare without case (variables, objects,
// pages, package entries): std::unordered_map<std::string, T, CaseInsensitiveHash,
// CaseInsensitiveEqual>. Both follow the current code page; change it before filling such a
// container, not while it holds keys.
struct CaseInsensitiveHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const;
};

struct CaseInsensitiveEqual {
    using is_transparent = void;
    bool operator()(std::string_view first, std::string_view second) const {
        return equalsIgnoreCase(first, second);
    }
};

// For ordered containers (std::map, std::set) with the same rule.
struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::string_view first, std::string_view second) const {
        return compareIgnoreCase(first, second) < 0;
    }
};

} // namespace tomelet
