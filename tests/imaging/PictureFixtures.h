#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tomelet {

inline std::filesystem::path pictureFixturePath(const std::string& name) {
    return std::filesystem::path(TOMELET_SOURCE_DIR) / "tests/imaging/data" / name;
}

inline std::string readPictureFixture(const std::string& name) {
    std::ifstream file(pictureFixturePath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace tomelet
