#include "viewer/pictures/dib_format.h"

namespace vimbrel::dib {

std::optional<Header> readHeader(ByteReader& in)
{
    Header header;
    const size_t start = in.position();
    header.size = in.u32();
    if (header.size == 12) {
        header.kind = HeaderKind::Core;
        header.width = in.u16();
        header.height = in.u16();
        in.u16(); // planes
        header.bitCount = in.u16();
    } else if (header.size >= 16 && header.size <= 1024) {
        const bool windows =
            header.size == 40 || header.size == 52 || header.size == 56 || header.size >= 108;
        if (!windows && header.size > 64) {
            return std::nullopt;
        }
        header.kind = windows ? HeaderKind::Info : HeaderKind::Os2v2;
        ByteReader fields = in.sub(start, header.size);
        fields.skip(4);
        header.width = fields.i32();
        const int32_t height = fields.i32();
        header.topDown = height < 0;
        header.height = height < 0 ? -static_cast<int64_t>(height) : height;
        fields.u16(); // planes
        header.bitCount = fields.u16();
        // An OS/2 v2 header may end after any field; the missing ones are 0.
        const auto field = [&](size_t offset) {
            return offset + 4 <= header.size ? ByteReader(fields.sub(offset, 4)).u32() : 0u;
        };
        header.compression = field(16);
        header.coloursUsed = field(32);
        if (header.kind == HeaderKind::Info && header.size >= 52) {
            header.masks = {field(40), field(44), field(48), header.size >= 56 ? field(52) : 0u};
            header.hasMasks = true;
        }
        constexpr uint32_t kEmbeddedProfile = 0x4d424544; // "MBED"
        if (header.kind == HeaderKind::Info && header.size >= 124 &&
            field(56) == kEmbeddedProfile) {
            header.profileAt = field(112);
            header.profileSize = field(116);
        }
        if (fields.failed()) {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    if (in.failed() || !in.seek(start + header.size)) {
        return std::nullopt;
    }
    if (header.masked() && !header.hasMasks) {
        // The masks follow a plain info header.
        const size_t count = header.compression == kAlphaBitFields ? 4 : 3;
        for (size_t i = 0; i < count; ++i) {
            header.masks[i] = in.u32();
        }
        header.hasMasks = !in.failed();
    }
    if (in.failed() || header.width <= 0 || header.height <= 0) {
        return std::nullopt;
    }
    return header;
}

} // namespace vimbrel::dib
