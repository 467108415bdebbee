#include "core/resources/Resources.h"

#include <zlib.h>

#include <stdexcept>

namespace quillon {

std::optional<std::span<const uint8_t>> FindResource(std::string_view name) {
    for (size_t i = 0; i < EmbeddedResourceCount; ++i)
        if (name == EmbeddedResources[i].Name)
            return std::span<const uint8_t>(EmbeddedResources[i].Bytes, EmbeddedResources[i].Size);
    return std::nullopt;
}

std::optional<std::string> LoadResourceText(std::string_view name) {
    const auto packed = FindResource(name);
    if (!packed)
        return std::nullopt;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        throw std::runtime_error("inflateInit failed");
    zs.next_in = const_cast<Bytef*>(packed->data());
    zs.avail_in = static_cast<uInt>(packed->size());
    std::string text;
    char buffer[16384];
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = reinterpret_cast<Bytef*>(buffer);
        zs.avail_out = sizeof buffer;
        rc = inflate(&zs, Z_NO_FLUSH);
        text.append(buffer, sizeof buffer - zs.avail_out);
    }
    inflateEnd(&zs);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("resource " + std::string(name) + " is damaged");
    return text;
}

} // namespace quillon
