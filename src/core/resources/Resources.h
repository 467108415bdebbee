#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillon {

/// A data file compiled into the program, zlib-compressed (the build embeds data/).
struct TEmbeddedResource {
    const char* Name;
    const unsigned char* Bytes;
    size_t Size;
};

extern const TEmbeddedResource EmbeddedResources[];
extern const size_t EmbeddedResourceCount;

/// The compressed bytes of the resource with this name, if the program carries one.
std::optional<std::span<const uint8_t>> FindResource(std::string_view name);

/// The resource inflated; nothing when the program carries none of that name.
std::optional<std::string> LoadResourceText(std::string_view name);

} // namespace quillon
