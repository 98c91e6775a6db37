#include "imaging/LoadPicture.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tomelet {
namespace {

// The source pixels and weights that make one destination pixel along one axis.
struct Contribution {
    int first = 0;
    std::vector<float> weights;
};

// A tent filter as wide as one destination pixel (at least one source pixel): it
// interpolates when enlarging and averages every covered pixel when shrinking.
std::vector<Contribution> contributions(int sourceSize, int destinationSize) {
    const double scale = double(sourceSize) / destinationSize;
    const double support = std::max(1.0, scale);
    std::vector<Contribution> result(static_cast<std::size_t>(destinationSize));
    for (int index = 0; index < destinationSize; ++index) {
        const double centre = (index + 0.5) * scale - 0.5;
        const int first = std::max(0, int(std::floor(centre - support)));
        const int last = std::min(sourceSize - 1, int(std::ceil(centre + support)));
        Contribution& contribution = result[std::size_t(index)];
        contribution.first = first;
        double total = 0;
        for (int source = first; source <= last; ++source) {
            const double weight = std::max(0.0, 1.0 - std::abs(source - centre) / support);
            contribution.weights.push_back(float(weight));
            total += weight;
        }
        if (total <= 0) {
            contribution.first = std::clamp(int(std::lround(centre)), 0, sourceSize - 1);
            contribution.weights.assign(1, 1.0f);
            total = 1;
        }
        for (float& weight : contribution.weights)
            weight = float(weight / total);
    }
    return result;
}

} // namespace

Bitmap resample(const Bitmap& bitmap, int width, int height) {
    if (bitmap.isEmpty()) return Bitmap();
    width = std::max(1, width);
    height = std::max(1, height);
    if (std::int64_t(width) * height > maximumPicturePixels) return Bitmap();
    Bitmap result(width, height);
    result.setHasAlpha(bitmap.hasAlpha());
    result.setBadlyDecoded(bitmap.isBadlyDecoded());
    result.setSourceBitsPerPixel(bitmap.sourceBitsPerPixel());
    if (width == bitmap.width() && height == bitmap.height()) {
        std::copy(bitmap.pixels().begin(), bitmap.pixels().end(), result.pixels().begin());
        return result;
    }

    // Colours are weighted by their alpha so transparent pixels lend no colour to their
    // neighbours.
    const std::vector<Contribution> across = contributions(bitmap.width(), width);
    const std::vector<Contribution> down = contributions(bitmap.height(), height);
    std::vector<float> rows(std::size_t(width) * std::size_t(bitmap.height()) * 4);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* source = bitmap.row(y);
        float* target = rows.data() + std::size_t(y) * std::size_t(width) * 4;
        for (int x = 0; x < width; ++x) {
            const Contribution& contribution = across[std::size_t(x)];
            float sum[4] = {0, 0, 0, 0};
            for (std::size_t tap = 0; tap < contribution.weights.size(); ++tap) {
                const std::uint8_t* pixel = source + (contribution.first + tap) * 4;
                const float weight = contribution.weights[tap] * pixel[3];
                sum[0] += weight * pixel[0];
                sum[1] += weight * pixel[1];
                sum[2] += weight * pixel[2];
                sum[3] += weight;
            }
            std::copy(sum, sum + 4, target + std::size_t(x) * 4);
        }
    }
    for (int y = 0; y < height; ++y) {
        const Contribution& contribution = down[std::size_t(y)];
        std::uint8_t* target = result.row(y);
        for (int x = 0; x < width; ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (std::size_t tap = 0; tap < contribution.weights.size(); ++tap) {
                const float* pixel =
                    rows.data() + ((contribution.first + tap) * std::size_t(width) + x) * 4;
                for (int channel = 0; channel < 4; ++channel)
                    sum[channel] += contribution.weights[tap] * pixel[channel];
            }
            std::uint8_t* pixel = target + std::size_t(x) * 4;
            const float alpha = sum[3];
            for (int channel = 0; channel < 3; ++channel)
                pixel[channel] =
                    alpha > 0
                        ? std::uint8_t(std::clamp(std::lround(sum[channel] / alpha), 0L, 255L))
                        : 0;
            pixel[3] = std::uint8_t(std::clamp(std::lround(alpha), 0L, 255L));
        }
    }
    return result;
}

} // namespace tomelet
