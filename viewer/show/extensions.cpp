#include "viewer/show/extensions.h"

#include <algorithm>

#include "platform/byte_text.h"

namespace vimbrel {
namespace {

void normalizeList(std::vector<std::string>& lines)
{
    for (size_t i = lines.size(); i-- > 0;) {
        std::string cleaned = text::toUpperAscii(text::trimControls(lines[i]));
        if (cleaned.empty()) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            lines[i] = std::move(cleaned);
        }
    }
}

std::string_view extensionOf(std::string_view fileName)
{
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos ||
        fileName.find_first_of("\\:", dot + 1) != std::string_view::npos) {
        return {};
    }
    return fileName.substr(dot + 1);
}

} // namespace

void NormalizeExtensions(Options& options)
{
    normalizeList(options.MemoPIC);
    normalizeList(options.MemoMov);
}

bool IsImageFile(const Options& options, std::string_view fileName)
{
    const std::string extension = text::toUpperAscii(extensionOf(fileName));
    return std::find(options.MemoPIC.begin(), options.MemoPIC.end(), extension) !=
           options.MemoPIC.end();
}

} // namespace vimbrel
