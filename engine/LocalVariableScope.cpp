#include "engine/LocalVariableScope.h"

#include "engine/VariableStore.h"

namespace tomelet {

LocalVariableScope::LocalVariableScope(VariableStore& store)
    : store_(store), saved_(store.takeLocals()) {}

LocalVariableScope::~LocalVariableScope() {
    store_.restoreLocals(std::move(saved_));
}

} // namespace tomelet
