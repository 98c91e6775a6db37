#pragma once

#include "package/PackageFormat.h"

#include <string>

namespace tomelet {

// Loads and registers the package's plug-in libraries once the package has put them on
// disk. A library that fails to load is the loader's to report.
class PackagePluginLoader {
public:
    virtual ~PackagePluginLoader() = default;
    // `libraryPath` is in publication form (code-page bytes; open it through
    // resolvePublicationPath).
    virtual void loadPlugin(const LibRec& entry, const std::string& libraryPath) = 0;
};

} // namespace tomelet
