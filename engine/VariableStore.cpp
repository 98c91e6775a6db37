#include "engine/VariableStore.h"

#include "engine/LenientNumber.h"
#include "engine/VariableExpansion.h"
#include "engine/VariablesFile.h"
#include "platform/CodePage.h"
#include "services/Messages.h"

#include <algorithm>
#include <chrono>

namespace tomelet {

namespace {

constexpr std::string_view lastErrorName = "LastError";
constexpr int readOnlyMessage = 229;
constexpr int notValidTypeMessage = 330;
constexpr int cannotChangeTypeMessage = 329;

std::string messageWithValue(int number, std::string_view value) {
    std::string text = GetMessageText(number);
    const auto placeholder = text.find("%s");
    if (placeholder != std::string::npos) text.replace(placeholder, 2, value);
    return text;
}

// The character a "#NN" name stands for: NN read as an integer, clamped to 0..255.
char escapedCharacter(std::string_view digits) {
    const std::int32_t code = readIntegerOrZero(digits);
    return static_cast<char>(static_cast<unsigned char>(std::clamp(code, 0, 255)));
}

std::optional<std::int32_t> arrayIndex(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size()) return std::nullopt;
    if (!equalsIgnoreCase(name.substr(0, prefix.size()), prefix)) return std::nullopt;
    return readInteger(name.substr(prefix.size()));
}

} // namespace

VariableStore& VariableStore::instance() {
    static VariableStore store;
    return store;
}

int VariableStore::subscribe(ChangeListener listener) {
    const int number = nextSubscription_++;
    subscriptions_.push_back({number, std::make_shared<ChangeListener>(std::move(listener))});
    return number;
}

void VariableStore::unsubscribe(int subscription) {
    for (Subscription& entry : subscriptions_) {
        if (entry.number == subscription) entry.listener.reset();
    }
    if (notifying_ == 0) {
        std::erase_if(subscriptions_, [](const Subscription& entry) { return !entry.listener; });
    }
}

void VariableStore::notifyVariableChanged(std::string_view name,
                                          std::optional<std::string_view> value) {
    if (subscriptions_.empty()) return;
    const std::string bracketName = upper(BracketName(name));
    // Listeners may change variables, so they get a copy of the value, not a view into it.
    const std::optional<std::string> copiedValue =
        value ? std::optional<std::string>(std::string(*value)) : std::nullopt;
    ++notifying_;
    const std::size_t count = subscriptions_.size();
    for (std::size_t index = 0; index < count; ++index) {
        const std::shared_ptr<ChangeListener> listener = subscriptions_[index].listener;
        if (!listener) continue;
        (*listener)(bracketName,
                    copiedValue ? std::optional<std::string_view>(*copiedValue) : std::nullopt);
    }
    if (--notifying_ == 0) {
        std::erase_if(subscriptions_, [](const Subscription& entry) { return !entry.listener; });
    }
}

const VarLine* VariableStore::findVariable(std::string_view name, bool& local) const {
    if (locals_) {
        if (const VarLine* line = locals_->find(name)) {
            local = true;
            return line;
        }
    }
    local = false;
    return globals_.find(name);
}

void VariableStore::appendValue(std::string_view name, std::string& target,
                                std::optional<ExpansionTime>& now) const {
    bool local = false;
    if (const VarLine* line = findVariable(name, local)) {
        target += line->value;
        return;
    }
    if (systemVariables_ && systemVariables_->access(name) != SystemVariableSource::Access::None) {
        if (!now) now = std::chrono::system_clock::now();
        target += systemVariables_->read(name, *now);
        return;
    }
    if (!name.empty() && name.front() == '#') target += escapedCharacter(name.substr(1));
}

std::string VariableStore::ExpandVariables(std::string_view text, bool numeric,
                                           bool nameOnly) const {
    if (text.find('[') == std::string_view::npos && text.find(']') == std::string_view::npos) {
        return std::string(text);
    }
    std::optional<ExpansionTime> now;
    return expandVariableReferences(
        text, numeric, nameOnly,
        [&](std::string_view name, std::string& target) { appendValue(name, target, now); });
}

std::string VariableStore::LookupVariable(std::string_view name) const {
    std::string value;
    std::optional<ExpansionTime> now;
    appendValue(name, value, now);
    return value;
}

std::string VariableStore::nameOfReference(std::string_view reference) const {
    return ExpandVariables(BracketName(reference), false, true);
}

void VariableStore::SetVariable(std::string_view reference, std::string_view value) {
    const std::string name = nameOfReference(reference);
    if (!name.empty()) assignByName(name, value);
}

void VariableStore::SetLastError(std::string_view text) {
    assignByName(std::string(lastErrorName), text);
}

void VariableStore::assignByName(const std::string& name, std::string_view value) {
    if (!value.empty() && lastErrorHandler_ && equalsIgnoreCase(name, lastErrorName)) {
        // The handler shows a dialog, during which other scripts may run and change anything.
        const std::string text(value);
        lastErrorHandler_(text);
        storeByName(name, text);
        return;
    }
    storeByName(name, value);
}

void VariableStore::storeByName(const std::string& name, std::string_view value) {
    if (locals_) {
        if (VarLine* line = locals_->find(name)) {
            assignInList(*locals_, *line, value, true);
            return;
        }
    }
    if (VarLine* line = globals_.find(name)) {
        assignInList(globals_, *line, value, false);
        return;
    }
    if (systemVariables_) {
        const auto access = systemVariables_->access(name);
        if (access == SystemVariableSource::Access::ReadOnly) {
            SetLastError(GetMessageText(readOnlyMessage) + " [" + name + "].");
            return;
        }
        if (access == SystemVariableSource::Access::Writable) {
            const std::string text(value);
            systemVariables_->write(name, text);
            notifyVariableChanged(name, text);
            return;
        }
    }
    if (!value.empty()) {
        globals_.add(name, value);
        report(VariableEvent::Created, name, value, false, nullptr);
    }
    notifyVariableChanged(name, value);
}

void VariableStore::assignInList(TVarStringList& list, VarLine& line, std::string_view value,
                                 bool local) {
    if (value.empty() && !line.info) {
        const std::string name = line.name;
        list.remove(name);
        report(VariableEvent::Deleted, name, {}, local, nullptr);
        notifyVariableChanged(name, value);
        return;
    }
    if (line.info) {
        TypedValue converted = convertValueToType(value, line.info->type, line.info->format);
        if (!converted.value) {
            SetLastError(converted.error);
            return;
        }
        if (*converted.value == line.value) return;
        line.value = std::move(*converted.value);
    } else {
        if (value == line.value) return;
        line.value = value;
    }
    report(VariableEvent::Changed, line.name, line.value, local, line.info.get());
    const std::string name = line.name;
    const std::string stored = line.value;
    notifyVariableChanged(name, stored);
}

void VariableStore::report(VariableEvent event, std::string_view name, std::string_view value,
                           bool local, const TGenericVarInfo* info) const {
    if (!debuggerReporter_) return;
    debuggerReporter_(event, name, value, local,
                      variableTypeLetter(info ? info->type : VariableType::Undefined));
}

bool VariableStore::DefineVariable(std::string_view reference, std::string_view typeName,
                                   std::string_view format, bool local) {
    const auto type = variableTypeFromName(typeName);
    if (!type) {
        SetLastError(messageWithValue(notValidTypeMessage, typeName));
        return false;
    }
    const std::string name = nameOfReference(reference);
    if (name.empty()) return false;
    // [LastError] stays untyped: a type that refused an error text would report the refusal
    // through [LastError] again, without end.
    if (equalsIgnoreCase(name, lastErrorName)) {
        SetLastError(messageWithValue(cannotChangeTypeMessage, "[" + name + "]"));
        return false;
    }
    if (local && !locals_) locals_ = std::make_unique<TVarStringList>();
    TVarStringList& list = local ? *locals_ : globals_;
    if (VarLine* line = list.find(name)) {
        const VariableType oldType = line->info ? line->info->type : VariableType::Undefined;
        const std::string oldFormat = line->info ? line->info->format : std::string();
        if (oldType == *type && oldFormat == format) return false;
        line->value = convertValueOnTypeChange(line->value, oldType, oldFormat, *type, format);
        // Locals keep their info even untyped, so that the empty text does not delete them.
        if (*type == VariableType::Undefined && !local) {
            line->info.reset();
        } else {
            line->info =
                std::make_unique<TGenericVarInfo>(TGenericVarInfo{*type, std::string(format)});
        }
        report(VariableEvent::Changed, line->name, line->value, local, line->info.get());
        const std::string stored = line->value;
        notifyVariableChanged(name, stored);
        return true;
    }
    if (systemVariables_ && systemVariables_->access(name) != SystemVariableSource::Access::None) {
        SetLastError(messageWithValue(cannotChangeTypeMessage, "[" + name + "]"));
        return false;
    }
    if (!local && *type == VariableType::Undefined) return false;
    const std::string value = defaultVariableValue(*type, format);
    VarLine& line =
        list.add(name, value,
                 std::make_unique<TGenericVarInfo>(TGenericVarInfo{*type, std::string(format)}));
    report(VariableEvent::Created, line.name, line.value, local, line.info.get());
    notifyVariableChanged(name, value);
    return true;
}

VariableType VariableStore::GetVariableType(std::string_view reference) const {
    bool local = false;
    const VarLine* line = findVariable(nameOfReference(reference), local);
    return line && line->info ? line->info->type : VariableType::Undefined;
}

ArrayRange VariableStore::FindArrayRange(std::string_view prefix) const {
    ArrayRange range;
    const auto count = [&](const TVarStringList& list) {
        for (const VarLine& line : list) {
            const auto index = arrayIndex(line.name, prefix);
            if (!index) continue;
            range.lowest = std::min(range.lowest, *index);
            range.highest = std::max(range.highest, *index);
            ++range.count;
        }
    };
    if (locals_) count(*locals_);
    count(globals_);
    return range;
}

void VariableStore::clearArrayElements(std::string_view prefix, std::int32_t first,
                                       std::int32_t last) {
    std::vector<std::int32_t> indexes;
    const auto collect = [&](const TVarStringList& list) {
        for (const VarLine& line : list) {
            const auto index = arrayIndex(line.name, prefix);
            if (index && *index >= first && *index <= last) indexes.push_back(*index);
        }
    };
    if (locals_) collect(*locals_);
    collect(globals_);
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    // Only prefix + the decimal index is an element name, as when every index is assigned.
    const std::string base(prefix);
    for (const std::int32_t index : indexes)
        assignByName(base + std::to_string(index), {});
}

void VariableStore::ClearVariables(std::string_view list) {
    if (list.empty()) {
        std::vector<std::string> names;
        names.reserve(globals_.size());
        for (const VarLine& line : globals_)
            names.push_back(line.name);
        // Only the global list: a local of the same name stays as it is.
        for (const std::string& name : names) {
            if (VarLine* line = globals_.find(name)) assignInList(globals_, *line, {}, false);
        }
        return;
    }
    std::string items(list);
    std::replace(items.begin(), items.end(), ',', '|');
    std::size_t start = 0;
    while (start <= items.size()) {
        const std::size_t end = std::min(items.find('|', start), items.size());
        SetVariable(std::string_view(items).substr(start, end - start), {});
        start = end + 1;
    }
}

void VariableStore::clearLists() {
    globals_.clear();
    if (locals_) locals_->clear();
}

std::unique_ptr<TVarStringList> VariableStore::takeLocals() {
    reportLocals(VariableEvent::Deleted);
    return std::move(locals_);
}

void VariableStore::restoreLocals(std::unique_ptr<TVarStringList> saved) {
    reportLocals(VariableEvent::Deleted);
    locals_ = std::move(saved);
    reportLocals(VariableEvent::Created);
}

void VariableStore::reportLocals(VariableEvent event) const {
    if (!debuggerReporter_ || !locals_) return;
    for (const VarLine& line : *locals_)
        report(event, line.name, line.value, true, line.info.get());
}

void VariableStore::SaveVariables(std::string_view file) {
    std::vector<VariablePair> pairs;
    pairs.reserve(globals_.size());
    for (const VarLine& line : globals_)
        pairs.push_back({line.name, line.value});
    const VariablesFileOutcome outcome = saveVariablesFile(file, pairs);
    SetLastError(outcome.success ? std::string_view() : std::string_view(outcome.error));
}

void VariableStore::LoadVariables(std::string_view file, const Package* package) {
    VariablesFileOutcome outcome = loadVariablesFile(file, package);
    if (!outcome.success) {
        SetLastError(outcome.error);
        return;
    }
    // Cleared first, so that a value a typed variable refuses stays reported.
    SetLastError({});
    for (const VariablePair& pair : outcome.variables.pairs)
        SetVariable(pair.name, pair.value);
}

} // namespace tomelet
