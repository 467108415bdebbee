#pragma once

#include <stdexcept>

namespace quillon {

/// The settings file could not be written.
class TSettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace quillon
