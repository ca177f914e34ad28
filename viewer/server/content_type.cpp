#include "viewer/server/content_type.h"

#include <array>
#include <string_view>
#include <utility>

#include "platform/byte_text.h"

namespace vimbrel {

std::string contentTypeFor(const std::string& fileName)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 16> kTypes{{
        {"HTM", "text/html; charset=Shift_JIS"},
        {"HTML", "text/html; charset=Shift_JIS"},
        {"JPG", "image/jpeg"},
        {"JPEG", "image/jpeg"},
        {"JPE", "image/jpeg"},
        {"JFIF", "image/jpeg"},
        {"GIF", "image/gif"},
        {"PNG", "image/png"},
        {"BMP", "image/bmp"},
        {"ICO", "image/x-icon"},
        {"WMF", "image/wmf"},
        {"EMF", "image/emf"},
        {"WEBP", "image/webp"},
        {"TIF", "image/tiff"},
        {"TIFF", "image/tiff"},
        {"TXT", "text/plain; charset=Shift_JIS"},
    }};
    const std::string extension = text::upperExtension(fileName);
    for (const auto& [known, type] : kTypes) {
        if (!extension.empty() && extension == known) {
            return std::string(type);
        }
    }
    return "application/octet-stream";
}

} // namespace vimbrel
