#pragma once

#include <stdexcept>

namespace tomelet {

// Anything that stops a publication from being packed; the message says what and where.
class PackError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tomelet
