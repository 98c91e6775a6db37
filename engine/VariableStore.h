#pragma once

#include "engine/SystemVariableSource.h"
#include "engine/TVarStringList.h"
#include "engine/VariableTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomelet {

class Package;

// What the debugger is told about a variable of the global or a local list.
enum class VariableEvent { Created = 0, Deleted = 1, Changed = 2 };

// The elements of an array: the names that are a prefix followed by an integer.
struct ArrayRange {
    std::int32_t lowest = 2147483647;
    std::int32_t highest = -2147483647;
    int count = 0;
};

// Every variable of the player: the local list of the running script, the global list and
// the system variables, searched in that order. Used from the GUI thread only.
class VariableStore {
public:
    // Receives the upper-cased bracketed name ("[TOTAL]") and the new value, or no value when
    // only the fact of the change is known.
    using ChangeListener =
        std::function<void(std::string_view bracketName, std::optional<std::string_view> value)>;
    using DebuggerReporter =
        std::function<void(VariableEvent event, std::string_view name, std::string_view value,
                           bool local, char typeLetter)>;
    // Called with every non-empty text assigned to [LastError], before it is stored: the
    // interpreter shows the error dialog and tells the debugger from here.
    using LastErrorHandler = std::function<void(std::string_view text)>;

    VariableStore() = default;
    VariableStore(const VariableStore&) = delete;
    VariableStore& operator=(const VariableStore&) = delete;

    // The store the player runs with.
    static VariableStore& instance();

    // `source` must outlive its use; null until the system variables are bound.
    void setSystemVariables(SystemVariableSource* source) { systemVariables_ = source; }
    void setLastErrorHandler(LastErrorHandler handler) { lastErrorHandler_ = std::move(handler); }
    void setDebuggerReporter(DebuggerReporter reporter) { debuggerReporter_ = std::move(reporter); }
    // Returns the number that unsubscribe takes.
    int subscribe(ChangeListener listener);
    void unsubscribe(int subscription);
    // `name` is a bare or bracketed name; subscribers receive it upper-cased in brackets.
    void notifyVariableChanged(std::string_view name, std::optional<std::string_view> value);

    // Replaces the [Name] references of `text` by their values (see expandVariableReferences);
    // the clock is read at most once per call, so all clock variables of one text agree.
    std::string ExpandVariables(std::string_view text, bool numeric = false,
                                bool nameOnly = false) const;
    // The value of the variable `name` (no brackets), "#NN" the character NN, else empty.
    std::string LookupVariable(std::string_view name) const;
    // Assigns to the variable a reference ("[Name]", "Name", "[Arr[i]]") names. The value
    // must not refer into the store.
    void SetVariable(std::string_view reference, std::string_view value);
    // DefineVar's work: gives a variable a type and format, creating it when needed. True when
    // something changed.
    bool DefineVariable(std::string_view reference, std::string_view typeName,
                        std::string_view format, bool local);
    // Undefined for a variable that does not exist or has no type.
    VariableType GetVariableType(std::string_view reference) const;
    // Over the names of the local and global lists: `prefix` (a bare name) followed by an
    // integer. Lowest and highest keep their starting values when nothing matches.
    ArrayRange FindArrayRange(std::string_view prefix) const;
    // Assigns the empty text to each existing element prefix + k, k from `first` to `last`
    // in increasing order: the cost follows the elements that exist, not the range.
    void clearArrayElements(std::string_view prefix, std::int32_t first, std::int32_t last);
    // With a list ("a,b|[c]") assigns the empty text to each variable named; without, to every
    // global variable (locals are left alone).
    void ClearVariables(std::string_view list);
    void SetLastError(std::string_view text);
    // The SaveVariables command: every global variable to `file` (a publication path).
    // Success clears [LastError]; failure sets it to the failure's message.
    void SaveVariables(std::string_view file);
    // The LoadVariables command: assigns every pair of the file (the package entry of that
    // name when `package` has one) with SetVariable, so typed variables convert what they load.
    void LoadVariables(std::string_view file, const Package* package);

    const TVarStringList& globals() const { return globals_; }
    // Null while the running script has no local variable.
    const TVarStringList* locals() const { return locals_.get(); }
    // Empties the global list and the current local list (the publication window does this
    // when it is created and destroyed).
    void clearLists();

private:
    friend class LocalVariableScope;

    struct Subscription {
        int number;
        // Shared, so that a listener that subscribes another one is not moved while it runs.
        std::shared_ptr<ChangeListener> listener;
    };

    void appendValue(std::string_view name, std::string& target,
                     std::optional<ExpansionTime>& now) const;
    const VarLine* findVariable(std::string_view name, bool& local) const;
    void assignByName(const std::string& name, std::string_view value);
    void storeByName(const std::string& name, std::string_view value);
    void assignInList(TVarStringList& list, VarLine& line, std::string_view value, bool local);
    void report(VariableEvent event, std::string_view name, std::string_view value, bool local,
                const TGenericVarInfo* info) const;
    std::string nameOfReference(std::string_view reference) const;

    std::unique_ptr<TVarStringList> takeLocals();
    void restoreLocals(std::unique_ptr<TVarStringList> saved);
    void reportLocals(VariableEvent event) const;

    std::unique_ptr<TVarStringList> locals_;
    TVarStringList globals_;
    SystemVariableSource* systemVariables_ = nullptr;
    LastErrorHandler lastErrorHandler_;
    DebuggerReporter debuggerReporter_;
    std::vector<Subscription> subscriptions_;
    int nextSubscription_ = 1;
    int notifying_ = 0;
};

} // namespace tomelet
