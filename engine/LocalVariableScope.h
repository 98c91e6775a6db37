#pragma once

#include "engine/TVarStringList.h"

#include <memory>

namespace tomelet {

class VariableStore;

// The local variables of one script run. Each run holds one for its whole life: it starts
// with no local variable, the locals of the run that was going on are put aside and come
// back, and the run's own are freed, when the scope ends.
class LocalVariableScope {
public:
    explicit LocalVariableScope(VariableStore& store);
    ~LocalVariableScope();
    LocalVariableScope(const LocalVariableScope&) = delete;
    LocalVariableScope& operator=(const LocalVariableScope&) = delete;

private:
    VariableStore& store_;
    std::unique_ptr<TVarStringList> saved_;
};

} // namespace tomelet
