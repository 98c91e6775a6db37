// Speed and memory of the package reader.
//
//   cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build
//   build/bin/PackageBenchmark
//
// The first run of a process writes its fixtures into a fresh folder under $TMPDIR (about
// 270 MB, removed at exit): two packages of 10,000 entries, 20 MB and 200 MB of data, and one
// with a single 50 MB compressed entry. Counters: peak_kib is the process's peak resident
// memory (VmHWM); open_rss_kib is how much the resident memory grew while opening, which
// stays the same for the 20 MB and the 200 MB package, since only the directory is read.
#include "package/Package.h"
#include "package/PackageWriter.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

namespace tomelet {
namespace {

namespace fs = std::filesystem;

constexpr int entryCount = 10000;
constexpr std::int64_t largeEntrySize = 50 << 20;

// Bytes made on the fly, so building a fixture does not count towards the peak memory: text
// with some variety, which deflate shrinks to about a quarter like ordinary documents.
class GeneratedInputStream final : public InputStream {
public:
    GeneratedInputStream(std::int64_t size, std::uint32_t seed) : left_(size), random_(seed) {}

    std::size_t read(char* buffer, std::size_t count) override {
        static constexpr std::string_view words[] = {
            "page ", "object ", "button ", "Tomelet ", "picture\r\n", "[Variable] ", "12345 "};
        std::size_t done = 0;
        while (done < count && left_ > 0) {
            const std::string_view word = words[random_() % std::size(words)];
            const std::size_t taken =
                std::min({word.size(), count - done, static_cast<std::size_t>(left_)});
            word.copy(buffer + done, taken);
            done += taken;
            left_ -= static_cast<std::int64_t>(taken);
        }
        return done;
    }

private:
    std::int64_t left_;
    std::minstd_rand random_;
};

std::int64_t statusKib(std::string_view field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(field)) return std::strtoll(line.c_str() + field.size(), nullptr, 10);
    return 0;
}

std::string entryName(int index) {
    return "C:\\Publication\\media\\item" + std::to_string(index) + ".dat";
}

class Fixtures {
public:
    static const Fixtures& get() {
        static const Fixtures fixtures;
        return fixtures;
    }

    ~Fixtures() {
        std::error_code error;
        fs::remove_all(folder_, error);
    }

    fs::path smallPackage;
    fs::path largePackage;
    fs::path compressedPackage;

private:
    Fixtures()
        : folder_(fs::temp_directory_path() /
                  ("tomelet-package-benchmark-" + std::to_string(::getpid()))) {
        fs::create_directories(folder_);
        smallPackage = writeManyEntries("20MB.pkg", 2 * 1024);
        largePackage = writeManyEntries("200MB.pkg", 20 * 1024);
        compressedPackage = folder_ / "compressed.pkg";
        PackageWriter writer(compressedPackage);
        GeneratedInputStream data(largeEntrySize, 7);
        writer.addEntry({"embedded:\\\\\\movie.avi"}, data);
        writer.finish({});
    }

    fs::path writeManyEntries(const std::string& name, std::int64_t entrySize) const {
        const fs::path path = folder_ / name;
        PackageWriter writer(path);
        for (int index = 0; index < entryCount; ++index) {
            GeneratedInputStream data(entrySize, static_cast<std::uint32_t>(index));
            writer.addEntry({entryName(index), EntryType::ordinaryFile, false}, data);
        }
        writer.finish({});
        return path;
    }

    fs::path folder_;
};

void openPackage(benchmark::State& state, const fs::path& path) {
    std::int64_t growth = 0;
    for (auto _ : state) {
        Package package;
        const std::int64_t before = statusKib("VmRSS:");
        if (package.OpenPackage(path) != 0) state.SkipWithError(package.failureReason().c_str());
        growth = statusKib("VmRSS:") - before;
        benchmark::DoNotOptimize(package.entries().data());
        package.ClosePackage(false);
    }
    state.counters["open_rss_kib"] = static_cast<double>(growth);
    state.counters["peak_kib"] = static_cast<double>(statusKib("VmHWM:"));
}

void BM_Open10000Entries20MB(benchmark::State& state) {
    openPackage(state, Fixtures::get().smallPackage);
}
BENCHMARK(BM_Open10000Entries20MB)->Unit(benchmark::kMillisecond);

void BM_Open10000Entries200MB(benchmark::State& state) {
    openPackage(state, Fixtures::get().largePackage);
}
BENCHMARK(BM_Open10000Entries200MB)->Unit(benchmark::kMillisecond);

void BM_Inflate50MBEntry(benchmark::State& state) {
    Package package;
    if (package.OpenPackage(Fixtures::get().compressedPackage) != 0)
        return state.SkipWithError(package.failureReason().c_str());
    const LibRec& entry = package.entries().front();
    for (auto _ : state) {
        std::int64_t checksum = 0;
        if (!package.ReadEntry(entry, [&](std::string_view bytes) {
                checksum += bytes.front();
                return true;
            }))
            state.SkipWithError("the entry did not read");
        benchmark::DoNotOptimize(checksum);
    }
    state.SetBytesProcessed(state.iterations() * entry.dataSize());
    state.counters["peak_kib"] = static_cast<double>(statusKib("VmHWM:"));
}
BENCHMARK(BM_Inflate50MBEntry)->Unit(benchmark::kMillisecond);

void BM_ReadStoredEntriesToMemory(benchmark::State& state) {
    Package package;
    if (package.OpenPackage(Fixtures::get().largePackage) != 0)
        return state.SkipWithError(package.failureReason().c_str());
    std::minstd_rand random(3);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        std::string data;
        package.ReadEntryToMemory(entryName(static_cast<int>(random() % entryCount)), data);
        bytes += static_cast<std::int64_t>(data.size());
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadStoredEntriesToMemory);

void BM_FindEntryAmong10000(benchmark::State& state) {
    Package package;
    if (package.OpenPackage(Fixtures::get().smallPackage) != 0)
        return state.SkipWithError(package.failureReason().c_str());
    std::minstd_rand random(5);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            package.FindEntry(entryName(static_cast<int>(random() % entryCount))));
}
BENCHMARK(BM_FindEntryAmong10000);

} // namespace
} // namespace tomelet

BENCHMARK_MAIN();
