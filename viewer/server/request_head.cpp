#include "viewer/server/request_head.h"

#include <microhttpd.h>

#include <cstring>
#include <memory>

namespace vimbrel::request_head {
namespace {

bool isControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7f;
}

bool hasControl(const char* text, size_t size, bool tabAllowed)
{
    for (size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (isControl(byte) && !(tabAllowed && byte == '\t')) {
            return true;
        }
    }
    return false;
}

// Walks the head as the engine left it: each piece it handed out where the
// walk expects it, with only the engine's own separators between.
class HeadWalk
{
public:
    HeadWalk(const char* at, const char* end) : mAt(at), mEnd(end) {}

    bool failed() const { return mFailed; }

    // The piece `text` of `size` bytes starts here.
    void piece(const char* text, size_t size)
    {
        if (mFailed || text != mAt || size > size_t(mEnd - mAt)) {
            mFailed = true;
            return;
        }
        mAt += size;
    }

    // One NUL the engine put in place of a separator.
    void separator() { nuls(1, 1); }

    // What the engine skipped before a piece: blanks only.
    void blanks()
    {
        while (!mFailed && mAt < mEnd && (*mAt == ' ' || *mAt == '\t')) {
            ++mAt;
        }
    }

    // A line end (CR LF or LF, each byte turned into a NUL); the last line's
    // is followed by the empty line that ends the head.
    void lineEnd(bool last)
    {
        if (last) {
            nuls(2, 4);
            mFailed = mFailed || mAt != mEnd;
        } else {
            nuls(1, 2);
        }
    }

private:
    void nuls(size_t fewest, size_t most)
    {
        size_t count = 0;
        while (!mFailed && mAt < mEnd && *mAt == '\0' && count < most) {
            ++mAt;
            ++count;
        }
        mFailed = mFailed || count < fewest;
    }

    const char* mAt;
    const char* mEnd;
    bool mFailed = false;
};

struct Header
{
    const char* key;
    size_t keySize;
    const char* value;
    size_t valueSize;
};

struct Headers
{
    static constexpr size_t kMost = 256;
    Header items[kMost];
    size_t count = 0;
    bool tooMany = false;
};

MHD_Result collect(void* context, MHD_ValueKind, const char* key, size_t keySize, const char* value,
                   size_t valueSize)
{
    auto* headers = static_cast<Headers*>(context);
    if (headers->count == Headers::kMost) {
        headers->tooMany = true;
        return MHD_NO;
    }
    headers->items[headers->count++] = {key, keySize, value, valueSize};
    return MHD_YES;
}

} // namespace

std::optional<std::string> header(MHD_Connection* connection, const char* name)
{
    const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

Target noteTarget(const char* uri)
{
    if (uri == nullptr) {
        return {};
    }
    // Looked at now: the engine splits off the query and its arguments in
    // place afterwards, putting NULs where "?", "&" and "=" stood.
    const size_t visible = std::strlen(uri);
    const bool clean =
        !hasControl(uri, visible, false) && std::memchr(uri, ' ', visible) == nullptr;
    return {uri, visible, clean};
}

bool isClean(MHD_Connection* connection, const char* method, const char* version,
             const Target& target)
{
    const MHD_ConnectionInfo* size =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_REQUEST_HEADER_SIZE);
    if (size == nullptr || target.start == nullptr || method == nullptr || version == nullptr) {
        return false;
    }
    auto headers = std::make_unique<Headers>();
    MHD_get_connection_values_n(connection, MHD_HEADER_KIND, &collect, headers.get());
    if (headers->tooMany) {
        return false;
    }
    const size_t methodSize = std::strlen(method);
    const size_t versionSize = std::strlen(version);
    if (!target.clean || hasControl(method, methodSize, false)) {
        return false;
    }
    // The request line: method, blank (a NUL now), the target up to the
    // blank before the version (a NUL too), the version.
    HeadWalk walk(method, method + size->header_size);
    walk.piece(method, methodSize);
    walk.separator();
    walk.blanks();
    walk.piece(target.start, target.visible);
    walk.separator();
    walk.piece(version, versionSize);
    walk.lineEnd(headers->count == 0);
    // Each header line: name, colon (a NUL now), blanks, value.
    for (size_t i = 0; i < headers->count && !walk.failed(); ++i) {
        const Header& header = headers->items[i];
        if (hasControl(header.key, header.keySize, false) ||
            std::memchr(header.key, ' ', header.keySize) != nullptr ||
            hasControl(header.value, header.valueSize, true)) {
            return false;
        }
        walk.piece(header.key, header.keySize);
        walk.separator();
        walk.blanks();
        walk.piece(header.value, header.valueSize);
        walk.lineEnd(i + 1 == headers->count);
    }
    return !walk.failed();
}

} // namespace vimbrel::request_head
