#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tomelet {

// The form every variable reference given as a command argument is brought to before it is
// expanded: "Total" -> "[Total]", "[a[b]" -> "[a[b]]". An empty text stays empty.
std::string BracketName(std::string_view text);

// Appends the value of the variable `name` to `target`; `name` never refers into `target`.
using VariableValueAppender = std::function<void(std::string_view name, std::string& target)>;

// Replaces every [Name] reference in `text`. References nest ([Item[Index]] reads Item3 when
// Index is 3); a "]" that closes nothing drops the rest of the text, an unfinished reference
// is dropped, and "[]" is ignored. `numeric` turns an empty outermost value into "0";
// `nameOnly` writes the names of the outermost references instead of their values (inner
// references are still replaced by values). Works without recursion and in time linear in
// the text and the values appended, so neither deep nesting nor long texts can exhaust the
// stack.
std::string expandVariableReferences(std::string_view text, bool numeric, bool nameOnly,
                                     const VariableValueAppender& appendValue);

} // namespace tomelet
