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
    const size_t slash = fileName.rfind('/');
    const size_t dot = fileName.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        const std::string extension = text::toUpperAscii(fileName.substr(dot + 1));
        for (const auto& [known, type] : kTypes) {
            if (extension == known) {
                return std::string(type);
            }
        }
    }
    return "application/octet-stream";
}

} // namespace vimbrel
