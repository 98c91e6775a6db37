// The image cache's hit path: what every paint of a button, wallpaper or shape pays.
//
//   cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build
//   build/bin/ImageCacheBenchmark
//
// Pictures come from streams (no file check) or from a disk file (one stat per hit); the list
// is full (30 entries) and the wanted name is first, or last, the longest walk.
#include "package/ImageCache.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace tomelet {
namespace {

std::unique_ptr<Bitmap> solidPicture(std::string_view, std::string_view) {
    auto bitmap = std::make_unique<Bitmap>(64, 64);
    for (int y = 16; y < 48; ++y)
        for (int x = 16; x < 48; ++x)
            bitmap->pixel(x, y)[3] = 255;
    return bitmap;
}

std::string pictureName(int index) {
    return "embedded:\\\\\\Button" + std::to_string(index) + ".bmp";
}

// A cache full of pictures; the first one named is the least recently used.
void fill(ImageCache& cache) {
    for (int index = 0; index < ImageCache::defaultCapacity; ++index) {
        MemoryInputStream stream("picture");
        cache.GetImage(pictureName(index), &stream, false, RegionColour::none, -1, -1);
    }
}

void BM_HitAtTheHead(benchmark::State& state) {
    Package package;
    ImageCache cache(package, solidPicture);
    fill(cache);
    const std::string name = pictureName(ImageCache::defaultCapacity - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(cache.GetImage(name, nullptr, false, RegionColour::none, -1, -1));
}
BENCHMARK(BM_HitAtTheHead);

// Names in the order they were cached: each is the least recently used, so every hit walks
// the whole list and moves its entry to the head.
void BM_HitAtTheTail(benchmark::State& state) {
    Package package;
    ImageCache cache(package, solidPicture);
    fill(cache);
    std::vector<std::string> names;
    for (int index = 0; index < ImageCache::defaultCapacity; ++index)
        names.push_back(pictureName(index));
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            cache.GetImage(names[next], nullptr, false, RegionColour::none, -1, -1));
        next = (next + 1) % names.size();
    }
}
BENCHMARK(BM_HitAtTheTail);

// A held picture with its region: the shape of a window or polygon on every repaint.
void BM_HitWithRegionAndLock(benchmark::State& state) {
    Package package;
    ImageCache cache(package, solidPicture);
    fill(cache);
    const std::string name = pictureName(ImageCache::defaultCapacity - 1);
    for (auto _ : state) {
        const auto picture = cache.GetImage(name, nullptr, true, RegionColour::own, -1, -1);
        cache.ReleaseImage(picture->image);
        benchmark::DoNotOptimize(picture);
    }
}
BENCHMARK(BM_HitWithRegionAndLock);

// A disk picture: each hit looks at the file's modification time.
void BM_HitOfADiskFile(benchmark::State& state) {
    std::string folder = std::filesystem::temp_directory_path() / "tomelet-bench-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string path = folder + "/wallpaper.bmp";
    std::ofstream(path) << "picture";
    Package package;
    ImageCache cache(package, solidPicture);
    for (auto _ : state)
        benchmark::DoNotOptimize(cache.GetImage(path, nullptr, false, RegionColour::none, -1, -1));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HitOfADiskFile);

} // namespace
} // namespace tomelet

BENCHMARK_MAIN();
