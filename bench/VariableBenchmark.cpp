// Speed of the variable store: expanding a script line, assigning and reading, and looking
// names up among many variables.
//
//   cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build
//   build/bin/VariableBenchmark
//
// items_per_second is expansions, assignments or lookups per second.
#include "engine/VariableStore.h"

#include <benchmark/benchmark.h>
#include <string>

namespace tomelet {
namespace {

void ExpandLineWithFiveReferences(benchmark::State& state) {
    VariableStore store;
    store.SetVariable("Customer", "Mary Smith");
    store.SetVariable("Index", "3");
    store.SetVariable("Item3", "Blue teapot");
    store.SetVariable("Price", "12.50");
    store.SetVariable("Count", "2");
    const std::string line =
        "Order for [Customer]: [Count] x [Item[Index]] at [Price] EUR ([Count])";
    for (auto _ : state)
        benchmark::DoNotOptimize(store.ExpandVariables(line));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ExpandLineWithFiveReferences);

void SetAndGetVariable(benchmark::State& state) {
    VariableStore store;
    std::int64_t counter = 0;
    for (auto _ : state) {
        store.SetVariable("[Counter]", std::to_string(++counter));
        benchmark::DoNotOptimize(store.LookupVariable("counter"));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(SetAndGetVariable);

void SetTypedVariable(benchmark::State& state) {
    VariableStore store;
    store.DefineVariable("[Total]", "Currency", "", false);
    std::int64_t counter = 0;
    for (auto _ : state)
        store.SetVariable("[Total]", std::to_string(++counter) + ".5");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SetTypedVariable);

// The cost of a lookup must not grow with the number of variables.
void LookupAmongManyVariables(benchmark::State& state) {
    VariableStore store;
    const auto count = static_cast<int>(state.range(0));
    for (int index = 0; index < count; ++index) {
        store.SetVariable("Var" + std::to_string(index), std::to_string(index));
    }
    int index = 0;
    std::string name;
    for (auto _ : state) {
        name = "VAR" + std::to_string(index);
        benchmark::DoNotOptimize(store.LookupVariable(name));
        index = (index + 7919) % count;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LookupAmongManyVariables)->Arg(100)->Arg(100000);

} // namespace
} // namespace tomelet

BENCHMARK_MAIN();
