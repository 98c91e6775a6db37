// Decode speed of the load-picture call against the same libraries called directly.
//
//   cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build
//   build/bin/PictureBenchmark
//
// At start the process encodes one synthetic 4000 x 3000 picture (smooth gradients with some
// noise, so both codecs have real work) as a JPEG (quality 90) and a PNG (level 6) in memory.
// Counter: megapixels_per_second. The plain runs decode to RGBA with the libraries' own
// simplest calls into a fresh buffer each time, as a decoded picture needs its own memory;
// the difference is what our checks and layout cost. On a virtual machine the page faults
// of that fresh 48 MB buffer can cost as much as the decoding.
#include "imaging/LoadPicture.h"

#include <benchmark/benchmark.h>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace tomelet {
namespace {

constexpr int pictureWidth = 4000;
constexpr int pictureHeight = 3000;

std::vector<std::uint8_t> syntheticRgb() {
    std::vector<std::uint8_t> pixels(std::size_t(pictureWidth) * pictureHeight * 3);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < pictureHeight; ++y)
        for (int x = 0; x < pictureWidth; ++x) {
            std::uint8_t* pixel = pixels.data() + (std::size_t(y) * pictureWidth + x) * 3;
            pixel[0] = std::uint8_t(std::clamp(x * 255 / pictureWidth + noise(random), 0, 255));
            pixel[1] = std::uint8_t(std::clamp(y * 255 / pictureHeight + noise(random), 0, 255));
            pixel[2] = std::uint8_t(((x / 50 + y / 50) % 2) * 200 + 20);
        }
    return pixels;
}

std::string encodeJpeg(const std::vector<std::uint8_t>& rgb) {
    jpeg_compress_struct jpeg;
    jpeg_error_mgr errors;
    jpeg.err = jpeg_std_error(&errors);
    jpeg_create_compress(&jpeg);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&jpeg, &buffer, &size);
    jpeg.image_width = pictureWidth;
    jpeg.image_height = pictureHeight;
    jpeg.input_components = 3;
    jpeg.in_color_space = JCS_RGB;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, 90, TRUE);
    jpeg_start_compress(&jpeg, TRUE);
    while (jpeg.next_scanline < jpeg.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(rgb.data()) +
                       std::size_t(jpeg.next_scanline) * pictureWidth * 3;
        jpeg_write_scanlines(&jpeg, &row, 1);
    }
    jpeg_finish_compress(&jpeg);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&jpeg);
    std::free(buffer);
    return bytes;
}

std::string encodePng(const std::vector<std::uint8_t>& rgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = pictureWidth;
    image.height = pictureHeight;
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    bytes.resize(size);
    return bytes;
}

const std::string& jpegBytes() {
    static const std::string bytes = encodeJpeg(syntheticRgb());
    return bytes;
}

const std::string& pngBytes() {
    static const std::string bytes = encodePng(syntheticRgb());
    return bytes;
}

void countMegapixels(benchmark::State& state) {
    state.counters["megapixels_per_second"] =
        benchmark::Counter(double(pictureWidth) * pictureHeight / 1e6 * double(state.iterations()),
                           benchmark::Counter::kIsRate);
}

void loadPictureBenchmark(benchmark::State& state, const std::string& bytes) {
    for (auto _ : state) {
        const PictureResult result = loadPicture(bytes);
        if (!result.succeeded()) state.SkipWithError(result.message.c_str());
        benchmark::DoNotOptimize(result.picture.bitmap().pixels().data());
    }
    countMegapixels(state);
}

void BM_LoadPictureJpeg(benchmark::State& state) {
    loadPictureBenchmark(state, jpegBytes());
}
void BM_LoadPicturePng(benchmark::State& state) {
    loadPictureBenchmark(state, pngBytes());
}

void BM_PlainLibjpeg(benchmark::State& state) {
    const std::string& bytes = jpegBytes();
    for (auto _ : state) {
        std::vector<std::uint8_t> pixels(std::size_t(pictureWidth) * pictureHeight * 4);
        jpeg_decompress_struct jpeg;
        jpeg_error_mgr errors;
        jpeg.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&jpeg);
        jpeg_mem_src(&jpeg, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        jpeg_read_header(&jpeg, TRUE);
        jpeg.out_color_space = JCS_EXT_RGBA;
        jpeg_start_decompress(&jpeg);
        while (jpeg.output_scanline < jpeg.output_height) {
            JSAMPROW row = pixels.data() + std::size_t(jpeg.output_scanline) * pictureWidth * 4;
            jpeg_read_scanlines(&jpeg, &row, 1);
        }
        jpeg_finish_decompress(&jpeg);
        jpeg_destroy_decompress(&jpeg);
        benchmark::DoNotOptimize(pixels.data());
    }
    countMegapixels(state);
}

void BM_PlainLibpng(benchmark::State& state) {
    const std::string& bytes = pngBytes();
    for (auto _ : state) {
        std::vector<std::uint8_t> pixels(std::size_t(pictureWidth) * pictureHeight * 4);
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
            state.SkipWithError(image.message);
        image.format = PNG_FORMAT_RGBA;
        if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
            state.SkipWithError(image.message);
        benchmark::DoNotOptimize(pixels.data());
    }
    countMegapixels(state);
}

BENCHMARK(BM_LoadPictureJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLibjpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPicturePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLibpng)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tomelet

BENCHMARK_MAIN();
