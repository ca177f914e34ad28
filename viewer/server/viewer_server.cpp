#include "viewer/server/viewer_server.h"

#include <microhttpd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <thread>

#include "platform/file_facts.h"
#include "platform/file_reading.h"
#include "platform/file_system.h"
#include "platform/loopback.h"
#include "platform/whole_file.h"
#include "viewer/server/byte_range.h"
#include "viewer/server/content_type.h"
#include "viewer/server/http_date.h"
#include "viewer/server/rendition.h"
#include "viewer/server/rendition_cache.h"
#include "viewer/server/served_folders.h"

namespace vimbrel {
namespace {

// Request line and headers of one request must fit into this; a longer one
// is answered 414 or 431 by the engine without being buffered.
constexpr size_t kConnectionMemory = 64 * 1024;

// Connections beyond the cap that still get their 503 before the engine
// stops accepting altogether.
constexpr unsigned kSpareConnections = 16;

// Descriptors kept free for everything else of the program.
constexpr long kReservedFiles = 64;

std::string freshToken()
{
    unsigned char bits[16] = {};
    loopback::secureRandom(bits, sizeof bits);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string token;
    for (unsigned char bit : bits) {
        token += kHex[bit >> 4];
        token += kHex[bit & 15];
    }
    return token;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(c | 0x20);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The bytes a percent-encoded URL path stands for; a "%" without two hex
// digits stays as it is.
std::string percentDecoded(std::string_view encoded)
{
    std::string decoded;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%' && i + 2 < encoded.size() && hexValue(encoded[i + 1]) >= 0 &&
            hexValue(encoded[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(encoded[i + 1]) * 16 + hexValue(encoded[i + 2]));
            i += 2;
        } else {
            decoded += encoded[i];
        }
    }
    return decoded;
}

// The bytes of a URL path, each byte that is not unreserved (RFC 3986) and
// not "/" written as %XX.
std::string percentEncoded(std::string_view path)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
            c == '/') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<std::string> headerOf(MHD_Connection* connection, const char* name)
{
    const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

// Each answer, refusals included, forbids sniffing, leaking the URL (and so
// the token) in a Referer, and being framed or loaded by another origin.
void addCommonHeaders(MHD_Response* response)
{
    MHD_add_response_header(response, "Cache-Control", "no-cache");
    MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
    MHD_add_response_header(response, "Referrer-Policy", "no-referrer");
    MHD_add_response_header(response, "Cross-Origin-Resource-Policy", "same-origin");
    MHD_add_response_header(response, "Content-Security-Policy", "frame-ancestors 'self'");
    MHD_add_response_header(response, "X-Frame-Options", "SAMEORIGIN");
}

MHD_Result queue(MHD_Connection* connection, unsigned status, MHD_Response* response)
{
    if (response == nullptr) {
        return MHD_NO;
    }
    addCommonHeaders(response);
    const MHD_Result result = MHD_queue_response(connection, status, response);
    MHD_destroy_response(response);
    return result;
}

// A short plain-text refusal: the status number and a line end.
MHD_Result refuse(MHD_Connection* connection, unsigned status, bool closeAfter = false)
{
    const std::string text = std::to_string(status) + "\n";
    MHD_Response* response = MHD_create_response_from_buffer(
        text.size(), const_cast<char*>(text.data()), MHD_RESPMEM_MUST_COPY);
    if (response == nullptr) {
        return MHD_NO;
    }
    MHD_add_response_header(response, "Content-Type", "text/plain; charset=US-ASCII");
    if (status == MHD_HTTP_METHOD_NOT_ALLOWED) {
        MHD_add_response_header(response, "Allow", "GET, HEAD");
    }
    if (closeAfter) {
        MHD_add_response_header(response, "Connection", "close");
    }
    return queue(connection, status, response);
}

std::string entityTag(const FileFacts& info)
{
    char text[80];
    std::snprintf(text, sizeof text, "\"%llx-%llx-%llx\"",
                  static_cast<unsigned long long>(info.inode),
                  static_cast<unsigned long long>(info.size),
                  static_cast<unsigned long long>(info.modifiedSeconds) * 1000000000ULL +
                      static_cast<unsigned long long>(info.modifiedNanoseconds));
    return text;
}

// True when an If-None-Match list names `tag` (weak comparison) or is "*".
bool tagListMatches(const std::string& list, const std::string& tag)
{
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        std::string item = list.substr(start, end - start);
        const size_t first = item.find_first_not_of(" \t");
        const size_t last = item.find_last_not_of(" \t");
        item = first == std::string::npos ? std::string() : item.substr(first, last - first + 1);
        if (item.rfind("W/", 0) == 0) {
            item = item.substr(2);
        }
        if (item == "*" || item == tag) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// Bytes of a file read at a time for its answer: large enough that reading
// costs little beside sending, small enough for many connections at once.
constexpr uint64_t kFileBlock = 128 * 1024;

// The body of a file answer, read from the open file as it goes out rather
// than handed to the system whole (sendfile), so that a file that changes
// meanwhile is noticed: one cut short ends the answer with an error, which
// closes the connection at once, so the browser sees a short body and the
// close instead of waiting for bytes that never come; one that grew gives
// only the announced length, which the engine asks for.
struct FileBody
{
    int fd;
    uint64_t offset;
};

ssize_t readFileBody(void* body, uint64_t position, char* buffer, size_t size)
{
    const auto* file = static_cast<const FileBody*>(body);
    const std::ptrdiff_t got = file_reading::readAt(file->fd, file->offset + position, buffer, size);
    return got > 0 ? ssize_t(got) : MHD_CONTENT_READER_END_WITH_ERROR;
}

void closeFileBody(void* body)
{
    const auto* file = static_cast<const FileBody*>(body);
    closeFile(file->fd);
    delete file;
}

// An answer of `length` bytes of `fd` from `offset`; it owns `fd` from now
// on, also when it cannot be made (nullptr).
MHD_Response* fileResponse(int fd, uint64_t offset, uint64_t length)
{
    auto* body = new FileBody{fd, offset};
    const size_t block = size_t(std::clamp<uint64_t>(length, 4096, kFileBlock));
    MHD_Response* response =
        MHD_create_response_from_callback(length, block, &readFileBody, body, &closeFileBody);
    if (response == nullptr) {
        closeFileBody(body);
    }
    return response;
}

// Pictures read into memory for a rendition may be at most this large.
constexpr size_t kMaxRenditionSource = size_t(256) << 20;

// True when the browser's copy, named by its validators, is still current.
bool notModified(MHD_Connection* connection, const FileFacts& info, const std::string& tag)
{
    if (const auto tags = headerOf(connection, MHD_HTTP_HEADER_IF_NONE_MATCH)) {
        return tagListMatches(*tags, tag);
    }
    if (const auto since = headerOf(connection, MHD_HTTP_HEADER_IF_MODIFIED_SINCE)) {
        const auto time = parseHttpDate(*since);
        return time && info.modifiedSeconds <= *time;
    }
    return false;
}

} // namespace

// The HTTP side of the viewer server. Every request is checked in the order
// peer, connection count, Host header, method, token, path; the first check
// that fails answers at once, so a refused request never opens a file.
class ViewerHttpDaemon
{
public:
    explicit ViewerHttpDaemon(const ViewerServer::Limits& limits)
        : mLimits(limits), mFolders(limits.beneath)
    {
    }

    ~ViewerHttpDaemon()
    {
        if (mDaemon != nullptr) {
            MHD_stop_daemon(mDaemon);
        }
    }

    ViewerHttpDaemon(const ViewerHttpDaemon&) = delete;
    ViewerHttpDaemon& operator=(const ViewerHttpDaemon&) = delete;

    bool start()
    {
        if (mDaemon != nullptr) {
            return true;
        }
        const long files = loopback::openFileLimit();
        const long room = files > 2 * kReservedFiles ? (files - kReservedFiles) / 2 : 8;
        mCap = static_cast<unsigned>(std::min<long>(mLimits.connections, room));
        mToken = freshToken();
        // One thread per core, each with its own set of sockets to watch
        // (epoll where the system has it); TURBO leaves out the listening
        // socket's wake-up pipe and sets up sockets in fewer calls.
        const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
        mDaemon = MHD_start_daemon(
            MHD_USE_AUTO_INTERNAL_THREAD | MHD_USE_TURBO, 0, nullptr, nullptr,
            &ViewerHttpDaemon::answer, this, MHD_OPTION_THREAD_POOL_SIZE, threads,
            MHD_OPTION_SOCK_ADDR, loopback::anyPort(), MHD_OPTION_CONNECTION_TIMEOUT,
            mLimits.idleSeconds, MHD_OPTION_CONNECTION_LIMIT, mCap + kSpareConnections,
            MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory, MHD_OPTION_NOTIFY_CONNECTION,
            &ViewerHttpDaemon::notify, this, MHD_OPTION_UNESCAPE_CALLBACK,
            &ViewerHttpDaemon::keepEscaped, nullptr, MHD_OPTION_END);
        if (mDaemon == nullptr) {
            return false;
        }
        const MHD_DaemonInfo* info = MHD_get_daemon_info(mDaemon, MHD_DAEMON_INFO_BIND_PORT);
        mPort = info != nullptr ? info->port : 0;
        if (mPort == 0) {
            MHD_stop_daemon(mDaemon);
            mDaemon = nullptr;
        }
        return mPort != 0;
    }

    uint16_t port() const { return mPort; }
    const std::string& token() const { return mToken; }
    ServedFolders& folders() { return mFolders; }

private:
    // The URL is looked at as it came: decoding it is ours to do, after the
    // token, so that an encoded NUL or "/" cannot slip past the path checks.
    static size_t keepEscaped(void*, MHD_Connection*, char* text) { return std::strlen(text); }

    static void notify(void* self, MHD_Connection* connection, void**,
                       MHD_ConnectionNotificationCode code)
    {
        auto* daemon = static_cast<ViewerHttpDaemon*>(self);
        if (code == MHD_CONNECTION_NOTIFY_STARTED) {
            daemon->mOpen.fetch_add(1);
            // Small pages and pictures go out at once rather than waiting
            // for more to fill a packet.
            const MHD_ConnectionInfo* info =
                MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
            if (info != nullptr) {
                loopback::sendAtOnce(static_cast<long long>(info->connect_fd));
            }
        } else {
            daemon->mOpen.fetch_sub(1);
        }
    }

    static MHD_Result answer(void* self, MHD_Connection* connection, const char* url,
                             const char* method, const char*, const char*, size_t*, void** request)
    {
        auto* daemon = static_cast<ViewerHttpDaemon*>(self);
        // The engine calls once when the head has arrived and again when the
        // body has. A request that announces a body is answered at the first
        // call, which makes the engine close the connection after the answer
        // instead of taking the body in; any other is answered at the second,
        // so that the connection stays open for the next request.
        if (*request == nullptr && !announcesBody(connection, method)) {
            *request = daemon;
            return MHD_YES;
        }
        return daemon->answer(connection, url, method);
    }

    static bool announcesBody(MHD_Connection* connection, const char* method)
    {
        const bool get = std::strcmp(method, MHD_HTTP_METHOD_GET) == 0;
        if (!get && std::strcmp(method, MHD_HTTP_METHOD_HEAD) != 0) {
            return true; // refused whatever it carries
        }
        const auto length = headerOf(connection, MHD_HTTP_HEADER_CONTENT_LENGTH);
        return (length && *length != "0") ||
               headerOf(connection, MHD_HTTP_HEADER_TRANSFER_ENCODING).has_value();
    }

    MHD_Result answer(MHD_Connection* connection, const char* url, const char* method)
    {
        if (!peerIsLoopback(connection)) {
            return refuse(connection, MHD_HTTP_FORBIDDEN, true);
        }
        if (mOpen.load() > int(mCap)) {
            return refuse(connection, MHD_HTTP_SERVICE_UNAVAILABLE, true);
        }
        if (!hostIsOurs(connection)) {
            return refuse(connection, MHD_HTTP_FORBIDDEN);
        }
        const bool get = std::strcmp(method, MHD_HTTP_METHOD_GET) == 0;
        if (!get && std::strcmp(method, MHD_HTTP_METHOD_HEAD) != 0) {
            return refuse(connection, MHD_HTTP_METHOD_NOT_ALLOWED, true);
        }
        const std::optional<std::string> path = requestedPath(url);
        const int fd = path ? mFolders.open(*path) : -1;
        if (fd < 0) {
            return refuse(connection, MHD_HTTP_NOT_FOUND);
        }
        return sendFile(connection, fd, *path);
    }

    static bool peerIsLoopback(MHD_Connection* connection)
    {
        const MHD_ConnectionInfo* info =
            MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
        return info != nullptr && loopback::isLoopback(info->client_addr);
    }

    // Exactly one Host header, naming this server as the browser was told it.
    // A page of another site that a name server points at 127.0.0.1 sends
    // its own host name and is refused.
    bool hostIsOurs(MHD_Connection* connection) const
    {
        struct Count
        {
            std::string expected;
            int hosts = 0;
            bool matches = false;
        } count{"127.0.0.1:" + std::to_string(mPort)};
        MHD_get_connection_values(
            connection, MHD_HEADER_KIND,
            [](void* context, MHD_ValueKind, const char* key, const char* value) {
                auto* seen = static_cast<Count*>(context);
                if (equalIgnoringAsciiCase(key, "host")) {
                    ++seen->hosts;
                    seen->matches = value != nullptr && seen->expected == value;
                }
                return MHD_YES;
            },
            &count);
        return count.hosts == 1 && count.matches;
    }

    // The full file path that the URL path after the token names (on
    // Windows /C:/... or /UNC/server/share/...), percent-decoded to the
    // bytes of the file name; nothing when the token is wrong or the path
    // names no full path.
    std::optional<std::string> requestedPath(const char* url) const
    {
        const std::string_view target(url);
        const std::string prefix = "/" + mToken + "/";
        if (target.compare(0, prefix.size(), prefix) != 0) {
            return std::nullopt;
        }
        return fs::fullPathOfUrl(percentDecoded(target.substr(prefix.size() - 1)));
    }

    // A picture no browser draws goes out as its rendition, under its own
    // URL; one that cannot be drawn gets 415.
    MHD_Result sendRendition(MHD_Connection* connection, int fd, const std::string& path,
                             const FileFacts& info)
    {
        const RenditionCache::Key key{info.device, info.inode, int64_t(info.size),
                                      info.modifiedSeconds * 1000000000 + info.modifiedNanoseconds};
        bool known = false;
        std::shared_ptr<const Rendition> rendition = mRenditions.find(key, known);
        if (!known) {
            const WholeFile file = readOpenFile(fd, kMaxRenditionSource);
            const auto* bytes = reinterpret_cast<const uint8_t*>(file.bytes.data());
            auto made = file.state == WholeFile::State::Read
                            ? makeRendition(path, std::span(bytes, file.bytes.size()))
                            : std::nullopt;
            if (made) {
                rendition = std::make_shared<const Rendition>(std::move(*made));
            }
            mRenditions.put(key, rendition);
        }
        closeFile(fd);
        if (!rendition) {
            const std::string text = "415 this picture cannot be drawn\n";
            MHD_Response* response = MHD_create_response_from_buffer(
                text.size(), const_cast<char*>(text.data()), MHD_RESPMEM_MUST_COPY);
            if (response != nullptr) {
                MHD_add_response_header(response, "Content-Type", "text/plain; charset=US-ASCII");
            }
            return queue(connection, MHD_HTTP_UNSUPPORTED_MEDIA_TYPE, response);
        }
        const std::string tag = entityTag(info).insert(1, "r-");
        const bool current = notModified(connection, info, tag);
        MHD_Response* response =
            current ? MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT)
                    : MHD_create_response_from_buffer(rendition->bytes.size(),
                                                      const_cast<uint8_t*>(rendition->bytes.data()),
                                                      MHD_RESPMEM_MUST_COPY);
        if (response == nullptr) {
            return MHD_NO;
        }
        if (!current) {
            MHD_add_response_header(response, "Content-Type", rendition->contentType.c_str());
        }
        MHD_add_response_header(response, "ETag", tag.c_str());
        MHD_add_response_header(response, "Last-Modified",
                                httpDate(std::time_t(info.modifiedSeconds)).c_str());
        return queue(connection, current ? MHD_HTTP_NOT_MODIFIED : MHD_HTTP_OK, response);
    }

    MHD_Result sendFile(MHD_Connection* connection, int fd, const std::string& path)
    {
        const std::optional<FileFacts> facts = factsOf(fd);
        if (!facts) {
            closeFile(fd);
            return refuse(connection, MHD_HTTP_NOT_FOUND);
        }
        const FileFacts& info = *facts;
        if (needsRendition(path)) {
            return sendRendition(connection, fd, path, info);
        }
        const uint64_t size = info.size;
        const std::string tag = entityTag(info);
        const std::string modified = httpDate(std::time_t(info.modifiedSeconds));
        unsigned status = MHD_HTTP_OK;
        MHD_Response* response = nullptr;
        ByteRange range = byteRangeFor(headerOf(connection, MHD_HTTP_HEADER_RANGE), size);
        if (const auto ifRange = headerOf(connection, MHD_HTTP_HEADER_IF_RANGE)) {
            if (*ifRange != tag && *ifRange != modified) {
                range = {};
            }
        }
        if (notModified(connection, info, tag)) {
            closeFile(fd);
            status = MHD_HTTP_NOT_MODIFIED;
            response = MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT);
        } else if (range.kind == ByteRange::Kind::Unsatisfiable) {
            closeFile(fd);
            const std::string text = "416\n";
            status = MHD_HTTP_RANGE_NOT_SATISFIABLE;
            response = MHD_create_response_from_buffer(text.size(), const_cast<char*>(text.data()),
                                                       MHD_RESPMEM_MUST_COPY);
            if (response != nullptr) {
                MHD_add_response_header(response, "Content-Range",
                                        ("bytes */" + std::to_string(size)).c_str());
                MHD_add_response_header(response, "Content-Type", "text/plain; charset=US-ASCII");
            }
            return queue(connection, status, response);
        } else if (range.kind == ByteRange::Kind::Part) {
            status = MHD_HTTP_PARTIAL_CONTENT;
            response = fileResponse(fd, range.first, range.last - range.first + 1);
            if (response != nullptr) {
                const std::string part = "bytes " + std::to_string(range.first) + "-" +
                                         std::to_string(range.last) + "/" + std::to_string(size);
                MHD_add_response_header(response, "Content-Range", part.c_str());
            }
        } else if (size == 0) {
            closeFile(fd);
            response = MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT);
        } else {
            response = fileResponse(fd, 0, size);
        }
        if (response == nullptr) {
            return MHD_NO; // the engine closes the connection
        }
        if (status != MHD_HTTP_NOT_MODIFIED) {
            MHD_add_response_header(response, "Content-Type", contentTypeFor(path).c_str());
            MHD_add_response_header(response, "Accept-Ranges", "bytes");
        }
        MHD_add_response_header(response, "ETag", tag.c_str());
        MHD_add_response_header(response, "Last-Modified", modified.c_str());
        return queue(connection, status, response);
    }

    ViewerServer::Limits mLimits;
    ServedFolders mFolders;
    RenditionCache mRenditions;
    MHD_Daemon* mDaemon = nullptr;
    std::atomic<uint16_t> mPort = 0;
    std::string mToken;
    unsigned mCap = 0;
    std::atomic<int> mOpen = 0;
};

ViewerServer::ViewerServer() : ViewerServer(Limits{}) {}

ViewerServer::ViewerServer(const Limits& limits)
    : mDaemon(std::make_unique<ViewerHttpDaemon>(limits))
{
}

ViewerServer::~ViewerServer() = default;

bool ViewerServer::start()
{
    return mDaemon->start();
}

bool ViewerServer::isListening() const
{
    return mDaemon->port() != 0;
}

uint16_t ViewerServer::port() const
{
    return mDaemon->port();
}

void ViewerServer::allowFolder(const std::string& folder, const std::string& servedAs)
{
    mDaemon->folders().allow(folder, servedAs);
}

std::string ViewerServer::urlFor(const std::string& filePath) const
{
    if (!isListening() || !fs::isAbsolute(filePath)) {
        return {};
    }
    return "http://127.0.0.1:" + std::to_string(port()) + "/" + mDaemon->token() +
           percentEncoded(fs::urlPathOf(filePath));
}

} // namespace vimbrel
