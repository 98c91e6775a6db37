#include "package/ImageCache.h"

#include "imaging/LoadPicture.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace tomelet {

namespace {

// Nanoseconds since the epoch; -1 when the file cannot be looked at, so a vanished file counts
// as changed.
std::int64_t modificationTime(const std::string& nativePath) {
    struct stat status {};
    if (::stat(nativePath.c_str(), &status) != 0) return -1;
    return std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec;
}

std::optional<std::string> readWholeFile(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

std::string readWholeStream(InputStream& stream) {
    std::string bytes;
    char buffer[65536];
    while (const std::size_t count = stream.read(buffer, sizeof buffer))
        bytes.append(buffer, count);
    return bytes;
}

std::optional<PictureSize> sizeFromHeader(const PictureInfoResult& header) {
    if (!header.succeeded()) return std::nullopt;
    return PictureSize{header.info.width, header.info.height, header.info.hasTransparency};
}

} // namespace

ImageCache::ImageCache(Package& package, PictureDecoder decoder)
    : package_(package), decoder_(std::move(decoder)) {}

ImageCache& ImageCache::instance() {
    static ImageCache cache(Package::instance(), [](std::string_view bytes, std::string_view name) {
        PictureResult result = loadPicture(bytes, name);
        if (!result.succeeded()) return std::unique_ptr<Bitmap>();
        return std::make_unique<Bitmap>(std::move(result.picture.frames.front().bitmap));
    });
    return cache;
}

std::optional<ImageCache::Entry> ImageCache::find(std::string_view name) {
    for (Entry entry = entries_.begin(); entry != entries_.end();) {
        if (!equalsIgnoreCase(entry->name, name)) {
            ++entry;
            continue;
        }
        if (entry->filePath.empty() || modificationTime(entry->filePath) == entry->fileTime)
            return entry;
        // The file was replaced while the publication runs: decode it again.
        remove(entry++);
    }
    return std::nullopt;
}

bool ImageCache::load(CacheRec& entry, InputStream* stream) {
    std::string bytes;
    try {
        if (stream != nullptr) {
            bytes = readWholeStream(*stream);
        } else if (const int read = package_.ReadEntryToMemory(entry.name, bytes);
                   read != PackageResult::entryFound) {
            if (read != PackageResult::entryNotFound) return false;
            // Not in the package: a disk file, found the way every publication file name is.
            const FoundFile found = package_.GetFile(entry.name, false);
            if (found.result == 0 || found.result == PackageResult::writeFailed) return false;
            entry.filePath = resolvePublicationPath(found.path);
            entry.fileTime = modificationTime(entry.filePath);
            std::optional<std::string> contents = readWholeFile(entry.filePath);
            if (!contents) return false;
            bytes = std::move(*contents);
        }
        entry.image = decoder_(bytes, entry.name);
    } catch (const std::exception&) {
        return false;
    }
    if (entry.image == nullptr || entry.image->isEmpty()) return false;
    entry.hasAlpha = entry.image->hasAlpha();
    return true;
}

std::optional<CachedImage> ImageCache::GetImage(std::string_view name, InputStream* stream,
                                                bool lock, int regionColour, int width,
                                                int height) {
    if (name.empty()) return std::nullopt;
    Entry entry;
    if (std::optional<Entry> found = find(name)) {
        entry = *found;
        entries_.splice(entries_.begin(), entries_, entry);
    } else {
        if (static_cast<int>(entries_.size()) >= capacity_) evictOne();
        CacheRec created;
        created.name = std::string(name);
        if (!load(created, stream)) return std::nullopt;
        entries_.push_front(std::move(created));
        entry = entries_.begin();
    }
    const Region* region = regionFor(*entry, regionColour, width, height);
    if (lock) ++entry->inUse;
    return CachedImage{entry->image.get(), region};
}

const Region* ImageCache::regionFor(CacheRec& entry, int colour, int width, int height) const {
    const Bitmap& image = *entry.image;
    if (width < 0) width = image.width();
    if (height < 0) height = image.height();
    const bool builtForThis = entry.regionBuilt && entry.regionColour == colour &&
                              entry.regionWidth == width && entry.regionHeight == height;
    // A held region must stay as it is; alpha pictures are shaped by their alpha instead.
    if ((entry.inUse > 0 && entry.region) || colour == RegionColour::none || entry.hasAlpha ||
        image.isBadlyDecoded())
        return builtForThis && entry.region ? &*entry.region : nullptr;
    if (builtForThis) return entry.region ? &*entry.region : nullptr;

    entry.region.reset();
    if (width > 0 && height > 0) {
        if (width == image.width() && height == image.height() && image.sourceBitsPerPixel() > 1)
            entry.region = RegionFromBitmap(image, colour);
        else
            entry.region = RegionFromBitmap(resample(image, width, height), colour);
    }
    entry.regionBuilt = true;
    entry.regionWidth = width;
    entry.regionHeight = height;
    entry.regionColour = colour;
    return entry.region ? &*entry.region : nullptr;
}

void ImageCache::remove(Entry entry) {
    if (entry->inUse > 0)
        released_.splice(released_.end(), entries_, entry);
    else
        entries_.erase(entry);
}

void ImageCache::evictOne() {
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        if (entry->inUse > 0) continue;
        entries_.erase(std::next(entry).base());
        return;
    }
}

void ImageCache::ReleaseImage(const Bitmap* image) {
    if (image == nullptr) return;
    const auto holds = [image](const CacheRec& entry) { return entry.image.get() == image; };
    if (auto entry = std::find_if(entries_.begin(), entries_.end(), holds);
        entry != entries_.end()) {
        if (entry->inUse > 0) --entry->inUse;
        return;
    }
    if (auto entry = std::find_if(released_.begin(), released_.end(), holds);
        entry != released_.end() && --entry->inUse <= 0)
        released_.erase(entry);
}

void ImageCache::SetCapacity(int capacity) {
    if (capacity == capacity_) return;
    Clear();
    capacity_ = std::clamp(capacity, minimumCapacity, maximumCapacity);
}

void ImageCache::Clear() {
    while (!entries_.empty())
        remove(entries_.begin());
}

std::optional<PictureSize> ImageCache::ImageInfo(std::string_view name) {
    if (name.empty()) return std::nullopt;
    if (const LibRec* entry = package_.FindEntry(name)) {
        if (entry->type == EntryType::picture)
            return PictureSize{entry->imageWidth, entry->imageHeight, entry->imageHasTransparency};
        std::string bytes;
        if (package_.ReadEntryToMemory(name, bytes) != PackageResult::entryFound)
            return std::nullopt;
        return sizeFromHeader(readPictureInfo(bytes, name));
    }
    const FoundFile found = package_.GetFile(name, false);
    if (found.result == 0 || found.result == PackageResult::writeFailed) return std::nullopt;
    return sizeFromHeader(readPictureInfoFile(resolvePublicationPath(found.path)));
}

} // namespace tomelet
