#pragma once

#include <string>

namespace tomelet {

// Registers the package's font files for this process. The package writes the files and
// deletes them again; the host makes them usable for drawing.
class PackageFontHost {
public:
    virtual ~PackageFontHost() = default;
    // `path` is in publication form (code-page bytes; open it through
    // resolvePublicationPath). Returns whether the font could be added.
    virtual bool addFont(const std::string& path) = 0;
    virtual void removeFont(const std::string& path) = 0;
    // After fonts were added or removed, for whatever caches the font list.
    virtual void fontsChanged() = 0;
};

} // namespace tomelet
