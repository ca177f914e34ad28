#include "viewer/server/byte_range.h"

#include <charconv>
#include <string_view>

namespace vimbrel {
namespace {

std::optional<uint64_t> number(std::string_view text)
{
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

ByteRange byteRangeFor(const std::optional<std::string>& header, uint64_t size)
{
    constexpr std::string_view kUnit = "bytes=";
    if (!header || header->compare(0, kUnit.size(), kUnit) != 0) {
        return {};
    }
    const std::string_view ranges = std::string_view(*header).substr(kUnit.size());
    const size_t dash = ranges.find('-');
    if (dash == std::string_view::npos || ranges.find(',') != std::string_view::npos) {
        return {};
    }
    const std::string_view from = ranges.substr(0, dash);
    const std::string_view to = ranges.substr(dash + 1);
    ByteRange range;
    range.kind = ByteRange::Kind::Part;
    if (from.empty()) {
        // "-N": the last N bytes.
        const auto suffix = number(to);
        if (!suffix) {
            return {};
        }
        if (*suffix == 0 || size == 0) {
            return {ByteRange::Kind::Unsatisfiable, 0, 0};
        }
        range.first = *suffix >= size ? 0 : size - *suffix;
        range.last = size - 1;
        return range;
    }
    const auto first = number(from);
    const auto last = to.empty() ? std::optional<uint64_t>(UINT64_MAX) : number(to);
    if (!first || !last || *last < *first) {
        return {};
    }
    if (*first >= size) {
        return {ByteRange::Kind::Unsatisfiable, 0, 0};
    }
    range.first = *first;
    range.last = *last >= size ? size - 1 : *last;
    return range;
}

} // namespace vimbrel
