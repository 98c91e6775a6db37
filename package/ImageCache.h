#pragma once

#include "imaging/Bitmap.h"
#include "imaging/Region.h"
#include "package/InputStream.h"
#include "package/Package.h"

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tomelet {

// Colour arguments of GetImage with a meaning of their own.
namespace RegionColour {
// The picture's own transparent colour: its bottom-left pixel.
inline constexpr int own = 536870912;
inline constexpr int none = 536870911;
} // namespace RegionColour

// One cached picture.
struct CacheRec {
    std::string name; // as requested: package name or disk path
    std::unique_ptr<Bitmap> image;
    int regionWidth = 0; // the size and colour the region was built for
    int regionHeight = 0;
    int regionColour = 0;
    bool regionBuilt = false; // a region that came out empty is not built again
    std::optional<Region> region;
    // The disk file's modification time (nanoseconds) when the picture came from disk; 0 for
    // package entries and streams.
    std::int64_t fileTime = 0;
    std::string filePath; // native, for the modification time check
    bool hasAlpha = false;
    // How many callers hold the picture. A count rather than a mark, so one holder's release
    // cannot free a picture another holder still shows.
    int inUse = 0;
};

struct CachedImage {
    const Bitmap* image = nullptr;
    const Region* region = nullptr; // none: the caller treats the picture as rectangular
};

struct PictureSize {
    int width = 0;
    int height = 0;
    bool hasTransparency = false;
};

// Decodes a picture; `name` tells the format where the content does not. Returns none, or
// throws, when the bytes are no picture it can read.
using PictureDecoder =
    std::function<std::unique_ptr<Bitmap>(std::string_view bytes, std::string_view name)>;

// Decoded pictures by file name, most recently used first, so buttons, wallpapers and shapes
// are decoded (and their regions built) once.
class ImageCache {
public:
    static constexpr int defaultCapacity = 30;
    static constexpr int minimumCapacity = 1;
    static constexpr int maximumCapacity = 100;

    ImageCache(Package& package, PictureDecoder decoder);
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // The player's cache, over the open package and the image library.
    static ImageCache& instance();

    // The picture `name` from `stream` when given, else from the package entry, else from the
    // disk file; none when empty or undecodable. Width or height -1 asks for the region at
    // the picture's own size. With `lock` the caller holds the picture until ReleaseImage.
    // The image and region belong to the cache.
    std::optional<CachedImage> GetImage(std::string_view name, InputStream* stream, bool lock,
                                        int regionColour, int width, int height);
    // Ends one hold of the picture that `image` belongs to.
    void ReleaseImage(const Bitmap* image);
    // A new capacity (clamped to 1..100) empties the cache.
    void SetCapacity(int capacity);
    void Clear();
    // Width, height and transparency without decoding or caching: from the package directory
    // for entries, from the header for disk files.
    std::optional<PictureSize> ImageInfo(std::string_view name);

    int capacity() const { return capacity_; }
    std::size_t count() const { return entries_.size(); }

private:
    using Entry = std::list<CacheRec>::iterator;

    std::optional<Entry> find(std::string_view name);
    bool load(CacheRec& entry, InputStream* stream);
    void remove(Entry entry);
    void evictOne();
    const Region* regionFor(CacheRec& entry, int colour, int width, int height) const;

    Package& package_;
    PictureDecoder decoder_;
    int capacity_ = defaultCapacity;
    std::list<CacheRec> entries_;
    // Entries that left the cache (a changed file, Clear) while callers still held them; freed
    // at their last ReleaseImage.
    std::list<CacheRec> released_;
};

} // namespace tomelet
