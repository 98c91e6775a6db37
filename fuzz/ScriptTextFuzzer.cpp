#include "engine/ScriptArguments.h"
#include "engine/ScriptBlockSkipper.h"
#include "engine/ScriptBlocks.h"
#include "engine/ScriptCommandWord.h"
#include "engine/ScriptLabels.h"
#include "engine/ScriptLineKind.h"
#include "engine/ScriptText.h"
#include "platform/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Label and backward searches scan the whole script each; a few of them per input keep every
// run short while still reaching every line.
constexpr int SearchesPerKind = 32;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

} // namespace

// Any bytes are a script: every line is read as the interpreter reads it, and each answer must
// point at a line that really has the property asked for.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tomelet;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ScriptLines lines = SplitScript(text);
    const int lineCount = static_cast<int>(lines.size());
    BlockSkipper skipper;
    int labelSearches = 0;
    int backwardSearches = 0;
    for (int number = 1; number <= lineCount; ++number) {
        const std::string_view line = GetLine(lines, number);
        const ClassifiedLine classified = ClassifyLine(line);
        const ScriptArguments arguments = SplitArguments(line);
        check(arguments.count >= 0 && arguments.count <= MaximumArgumentCount);
        check(arguments.ok() || arguments.error->code == MissingQuotationMarkCode);
        check(!CheckArgumentCount(arguments.count, 0, MaximumArgumentCount));

        switch (classified.kind) {
        case LineKind::Label:
            if (labelSearches++ < SearchesPerKind) {
                const std::optional<int> found = FindLabel(lines, line);
                check(found && *found <= number);
                check(equalsIgnoreCase(trimScript(lines[*found - 1]), trimScript(line)));
                check(GotoLineDestination(lines, line.substr(1)).value_or(1) >= 1);
            }
            break;
        case LineKind::EndWhile:
        case LineKind::EndLoop:
            if (backwardSearches++ < SearchesPerKind) {
                const BlockKind kind =
                    classified.kind == LineKind::EndWhile ? BlockKind::While : BlockKind::Loop;
                if (const std::optional<int> opener = MatchBackward(lines, number, kind)) {
                    check(*opener >= 1 && *opener < number);
                    check(opensBlock(kind, UpperCommandWord(GetLine(lines, *opener))));
                }
            }
            skipper.keyword(classified.kind);
            break;
        case LineKind::Command:
            if (skipper.skipping())
                skipper.command(classified.word, true);
            else if (opensBlock(BlockKind::If, classified.word))
                skipper.begin(SkipState::ToElseOrEndIf);
            else if (opensBlock(BlockKind::While, classified.word))
                skipper.begin(SkipState::ToEndWhile);
            else if (opensBlock(BlockKind::Loop, classified.word))
                skipper.begin(SkipState::ToEndLoop);
            break;
        default:
            skipper.keyword(classified.kind);
            break;
        }
    }
    check(GetLine(lines, lineCount + 1).empty());
    return 0;
}
