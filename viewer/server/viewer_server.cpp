#include "viewer/server/viewer_server.h"

#include <microhttpd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/byte_text.h"
#include "platform/file_facts.h"
#include "platform/file_system.h"
#include "platform/loopback.h"
#include "platform/whole_file.h"
#include "viewer/server/connection_guard.h"
#include "viewer/server/http_answers.h"
#include "viewer/server/page_helper.h"
#include "viewer/server/rendition.h"
#include "viewer/server/rendition_workers.h"
#include "viewer/server/request_head.h"
#include "viewer/server/served_folders.h"
#include "viewer/server/suspended_requests.h"
#include "viewer/server/viewer_presence.h"

namespace vimbrel {
namespace {

// Request line and headers of one request must fit into this; a longer one
// is answered 414 or 431 by the engine without being buffered.
constexpr size_t kConnectionMemory = 64 * 1024;

// Connections of a serving thread beyond its share that the engine still
// takes: the guard closes the idlest to make room, and a few more may arrive
// before the engine has let those go.
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

} // namespace

// The HTTP side of the viewer server. Every request is checked in the order
// head, peer, connection count, Host header, method, token, path; the first
// check that fails answers at once, so a refused request never opens a file.
class ViewerHttpDaemon
{
public:
    explicit ViewerHttpDaemon(const ViewerServer::Limits& limits)
        : mLimits(limits), mFolders(limits.beneath),
          mPresence(std::chrono::seconds(std::max(3u, limits.viewerPatienceSeconds)))
    {
    }

    ~ViewerHttpDaemon() { stop(kStopPatience); }

    ViewerHttpDaemon(const ViewerHttpDaemon&) = delete;
    ViewerHttpDaemon& operator=(const ViewerHttpDaemon&) = delete;

    bool start()
    {
        if (mDaemon != nullptr) {
            return true;
        }
        if (mStopped) {
            return false;
        }
        const long files = loopback::openFileLimit();
        const long room = files > 2 * kReservedFiles ? (files - kReservedFiles) / 2 : 8;
        const unsigned cap = static_cast<unsigned>(std::min<long>(mLimits.connections, room));
        mToken = freshToken();
        mOwnPrefix = "/" + mToken + "~/";
        // One thread per core, each with its own set of sockets to watch
        // (epoll where the system has it); TURBO leaves out the listening
        // socket's wake-up pipe and sets up sockets in fewer calls. Each
        // thread accepts and serves its own connections, and so has its own
        // share of them.
        const unsigned threads = mLimits.threads > 0
                                     ? mLimits.threads
                                     : std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
        const unsigned share = std::max(1u, cap / threads);
        mGuard = std::make_unique<ConnectionGuard>(
            ConnectionGuard::Times{std::chrono::seconds(mLimits.headSeconds),
                                   std::chrono::seconds(mLimits.idleSeconds)},
            share, [](long long socket) { loopback::shutDown(socket); });
        mWorkers = std::make_unique<RenditionWorkers>(mLimits.renditions);
        mDaemon = MHD_start_daemon(
            MHD_USE_AUTO_INTERNAL_THREAD | MHD_USE_TURBO | MHD_ALLOW_SUSPEND_RESUME, 0, nullptr,
            nullptr, &ViewerHttpDaemon::answer, this, MHD_OPTION_THREAD_POOL_SIZE, threads,
            MHD_OPTION_SOCK_ADDR, loopback::anyPort(), MHD_OPTION_CONNECTION_TIMEOUT,
            mLimits.idleSeconds, MHD_OPTION_CONNECTION_LIMIT, (share + kSpareConnections) * threads,
            MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory, MHD_OPTION_NOTIFY_CONNECTION,
            &ViewerHttpDaemon::notify, this, MHD_OPTION_NOTIFY_COMPLETED,
            &ViewerHttpDaemon::completed, this, MHD_OPTION_URI_LOG_CALLBACK,
            &ViewerHttpDaemon::noteTarget, this, MHD_OPTION_UNESCAPE_CALLBACK,
            &ViewerHttpDaemon::keepEscaped, nullptr, MHD_OPTION_END);
        const MHD_DaemonInfo* info =
            mDaemon != nullptr ? MHD_get_daemon_info(mDaemon, MHD_DAEMON_INFO_BIND_PORT) : nullptr;
        mPort = info != nullptr ? info->port : 0;
        if (mPort == 0) {
            // Nothing was served: all goes, and a later start may try again.
            if (mDaemon != nullptr) {
                MHD_stop_daemon(mDaemon);
                mDaemon = nullptr;
            }
            mWorkers.reset();
            mGuard.reset();
        }
        return mPort != 0;
    }

    // Stops drawing, answers the requests held for drawings, closes every
    // connection and ends the engine's threads. False when a drawing did not
    // end within `patience`: its thread is left behind, and the process had
    // best end without waiting for it.
    bool stop(std::chrono::milliseconds patience)
    {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        bool ended = true;
        if (mWorkers) {
            ended = mWorkers->stop(patience);
        }
        mSuspended->close();
        if (mDaemon != nullptr) {
            // The requests held for drawings get their 503 before the engine
            // closes every connection.
            std::unique_lock lock(mHeldMutex);
            mHeldAnswered.wait_until(
                lock, std::max(deadline, std::chrono::steady_clock::now() + kAnswerPatience),
                [this] { return mHeld == 0; });
        }
        if (mDaemon != nullptr) {
            MHD_stop_daemon(mDaemon);
            mDaemon = nullptr;
        }
        mGuard.reset();
        mPort = 0;
        mStopped = true;
        return ended;
    }

    uint16_t port() const { return mPort; }
    const std::string& token() const { return mToken; }
    ServedFolders& folders() { return mFolders; }
    const ViewerPresence& presence() const { return mPresence; }

    // The viewer pages of `folder` (a full path ending in the separator)
    // are served with the helper script.
    void servePagesOf(const std::string& folder)
    {
        const std::lock_guard lock(mPagesMutex);
        if (std::find(mPagesFolders.begin(), mPagesFolders.end(), folder) == mPagesFolders.end()) {
            mPagesFolders.push_back(folder);
        }
    }

private:
    // How long stopping waits for a drawing under way; the drawing checks
    // its stop flag between records and each record's work is bounded.
    static constexpr std::chrono::milliseconds kStopPatience{1200};
    // How long stopping gives the requests held for drawings to get their
    // answer out.
    static constexpr std::chrono::milliseconds kAnswerPatience{300};

    // One connection: its place in the guard, and the request it serves.
    struct Connection
    {
        ConnectionGuard::Entry* guarded = nullptr;
        request_head::Target target;
        bool headSeen = false;
        std::shared_ptr<SuspendedRequests::Request> drawing; // while a rendition is awaited
        FileFacts drawn;                                     // of the picture being drawn
    };

    // The URL is looked at as it came: decoding it is ours to do, after the
    // token, so that an encoded NUL or "/" cannot slip past the path checks.
    static size_t keepEscaped(void*, MHD_Connection*, char* text) { return std::strlen(text); }

    static Connection* connectionOf(MHD_Connection* connection)
    {
        const MHD_ConnectionInfo* info =
            MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
        return info != nullptr ? static_cast<Connection*>(info->socket_context) : nullptr;
    }

    static void notify(void* self, MHD_Connection* connection, void** context,
                       MHD_ConnectionNotificationCode code)
    {
        auto* daemon = static_cast<ViewerHttpDaemon*>(self);
        if (code == MHD_CONNECTION_NOTIFY_STARTED) {
            const MHD_ConnectionInfo* info =
                MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
            const long long socket =
                info != nullptr ? static_cast<long long>(info->connect_fd) : -1;
            // Small pages and pictures go out at once rather than waiting
            // for more to fill a packet.
            loopback::sendAtOnce(socket);
            auto* record = new Connection;
            record->guarded = daemon->mGuard->opened(socket);
            *context = record;
            // A connection that sends nothing at all goes soon; the guard
            // sees to one that sends its head too slowly.
            MHD_set_connection_option(connection, MHD_CONNECTION_OPTION_TIMEOUT,
                                      daemon->mLimits.silentSeconds);
        } else if (auto* record = static_cast<Connection*>(*context)) {
            daemon->mGuard->closed(record->guarded);
            delete record;
            *context = nullptr;
        }
    }

    // The engine has read a request line: a new request on the connection.
    static void* noteTarget(void*, const char* uri, MHD_Connection* connection)
    {
        Connection* record = connectionOf(connection);
        if (record != nullptr) {
            record->target = request_head::noteTarget(uri);
            record->headSeen = false;
        }
        return record;
    }

    static void completed(void* self, MHD_Connection*, void** request, MHD_RequestTerminationCode)
    {
        auto* daemon = static_cast<ViewerHttpDaemon*>(self);
        if (auto* record = static_cast<Connection*>(*request)) {
            if (record->drawing) {
                record->drawing.reset();
                daemon->heldEnded();
            }
            record->headSeen = false;
            daemon->mGuard->requestEnded(record->guarded);
        }
    }

    static MHD_Result answer(void* self, MHD_Connection* connection, const char* url,
                             const char* method, const char* version, const char*, size_t*,
                             void** request)
    {
        auto* daemon = static_cast<ViewerHttpDaemon*>(self);
        auto* record = static_cast<Connection*>(*request);
        if (record == nullptr) {
            return http_answers::plain(connection, MHD_HTTP_BAD_REQUEST, {}, true);
        }
        if (record->drawing) {
            return daemon->answerDrawn(connection, *record);
        }
        // The engine calls once when the head has arrived and again when the
        // body has. A request that announces a body is answered at the first
        // call, which makes the engine close the connection after the answer
        // instead of taking the body in; any other is answered at the second,
        // so that the connection stays open for the next request.
        if (!record->headSeen) {
            record->headSeen = true;
            daemon->mGuard->requestBegan(record->guarded);
            MHD_set_connection_option(connection, MHD_CONNECTION_OPTION_TIMEOUT,
                                      daemon->mLimits.idleSeconds);
            if (!request_head::isClean(connection, method, version, record->target)) {
                return http_answers::plain(connection, MHD_HTTP_BAD_REQUEST, {}, true);
            }
            if (!announcesBody(connection, method)) {
                return MHD_YES;
            }
        }
        return daemon->answer(connection, url, method, *record);
    }

    static bool announcesBody(MHD_Connection* connection, const char* method)
    {
        const bool get = std::strcmp(method, MHD_HTTP_METHOD_GET) == 0;
        if (!get && std::strcmp(method, MHD_HTTP_METHOD_HEAD) != 0) {
            return true; // refused whatever it carries
        }
        const auto length = request_head::header(connection, MHD_HTTP_HEADER_CONTENT_LENGTH);
        return (length && *length != "0") ||
               request_head::header(connection, MHD_HTTP_HEADER_TRANSFER_ENCODING).has_value();
    }

    MHD_Result answer(MHD_Connection* connection, const char* url, const char* method,
                      Connection& record)
    {
        if (!peerIsLoopback(connection)) {
            return http_answers::plain(connection, MHD_HTTP_FORBIDDEN, {}, true);
        }
        if (mGuard->overloaded(record.guarded)) {
            return http_answers::plain(connection, MHD_HTTP_SERVICE_UNAVAILABLE, {}, true);
        }
        if (!hostIsOurs(connection)) {
            return http_answers::plain(connection, MHD_HTTP_FORBIDDEN);
        }
        const bool get = std::strcmp(method, MHD_HTTP_METHOD_GET) == 0;
        if (!get && std::strcmp(method, MHD_HTTP_METHOD_HEAD) != 0) {
            return http_answers::plain(connection, MHD_HTTP_METHOD_NOT_ALLOWED, {}, true);
        }
        if (const std::optional<std::string_view> own = ownAddress(url)) {
            return answerOwn(connection, *own);
        }
        const std::optional<std::string> path = requestedPath(url);
        const int fd = path ? mFolders.open(*path) : -1;
        if (fd < 0) {
            return http_answers::plain(connection, MHD_HTTP_NOT_FOUND);
        }
        const std::optional<FileFacts> facts = factsOf(fd);
        if (!facts) {
            closeFile(fd);
            return http_answers::plain(connection, MHD_HTTP_NOT_FOUND);
        }
        if (needsRendition(*path)) {
            return sendRendition(connection, fd, *path, *facts, record);
        }
        if (facts->size <= kMaxPageBytes && isServedPage(*path)) {
            return sendPage(connection, fd, *path, *facts);
        }
        return http_answers::file(connection, fd, *path, *facts);
    }

    // The server's own addresses beside the files: "/TOKEN~/" and a name.
    std::optional<std::string_view> ownAddress(const char* url) const
    {
        const std::string_view target(url);
        if (target.compare(0, mOwnPrefix.size(), mOwnPrefix) != 0) {
            return std::nullopt;
        }
        return target.substr(mOwnPrefix.size());
    }

    // The helper script of the pages; the signs of life of the viewer
    // windows ("alive?view=ID&state=open|gone"); and what they add up to,
    // for whoever holds the token.
    MHD_Result answerOwn(MHD_Connection* connection, std::string_view name)
    {
        if (name == "helper.js") {
            const unsigned beat = std::max(1u, unsigned(mPresence.patience().count() / 3));
            return http_answers::script(connection, page_helper::script(mOwnPrefix, beat),
                                        page_helper::version());
        }
        if (name == "alive") {
            const char* view =
                MHD_lookup_connection_value(connection, MHD_GET_ARGUMENT_KIND, "view");
            const char* state =
                MHD_lookup_connection_value(connection, MHD_GET_ARGUMENT_KIND, "state");
            if (view == nullptr || *view == '\0' || std::strlen(view) > 64 || state == nullptr) {
                return http_answers::plain(connection, MHD_HTTP_BAD_REQUEST);
            }
            mPresence.seen(view, std::strcmp(state, "gone") == 0);
            return http_answers::noContent(connection);
        }
        if (name == "presence") {
            return http_answers::json(
                connection, "{\"open\":" + std::to_string(mPresence.openWindows()) +
                                ",\"shown\":" + (mPresence.everShown() ? "true" : "false") +
                                ",\"index\":" + std::to_string(mPresence.indexRequests()) + "}");
        }
        return http_answers::plain(connection, MHD_HTTP_NOT_FOUND);
    }

    // One of the seven viewer pages of a Show run's Work folder.
    bool isServedPage(const std::string& path) const
    {
        const size_t cut = path.find_last_of(fs::kSeparator);
        if (cut == std::string::npos || !page_helper::isViewerPage(path.substr(cut + 1))) {
            return false;
        }
        const std::lock_guard lock(mPagesMutex);
        return std::find(mPagesFolders.begin(), mPagesFolders.end(), path.substr(0, cut + 1)) !=
               mPagesFolders.end();
    }

    // The page as written, with the helper script added to the answer.
    MHD_Result sendPage(MHD_Connection* connection, int fd, const std::string& path,
                        const FileFacts& info)
    {
        const WholeFile file = readOpenFile(fd, kMaxPageBytes);
        closeFile(fd);
        if (file.state != WholeFile::State::Read) {
            return http_answers::plain(connection, MHD_HTTP_NOT_FOUND);
        }
        if (path.size() >= 9 && path.compare(path.size() - 9, 9, "index.htm") == 0) {
            mPresence.indexAsked();
        }
        return http_answers::page(connection,
                                  page_helper::withHelper(file.bytes, mOwnPrefix + "helper.js"),
                                  path, info, page_helper::version());
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
                if (text::equalIgnoringAsciiCase(key, "host")) {
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
    // URL. One drawn before (or found undrawable) is answered at once; any
    // other is drawn by the rendition workers while the engine holds the
    // connection still, and answered when it is resumed.
    MHD_Result sendRendition(MHD_Connection* connection, int fd, const std::string& path,
                             const FileFacts& info, Connection& record)
    {
        const RenditionCache::Key key{info.device, info.inode, int64_t(info.size),
                                      info.modifiedSeconds * 1000000000 + info.modifiedNanoseconds};
        if (const std::optional<RenditionResult> known = mWorkers->known(key)) {
            closeFile(fd);
            return http_answers::rendition(connection, *known, info);
        }
        MHD_suspend_connection(connection);
        {
            const std::lock_guard lock(mHeldMutex);
            ++mHeld;
        }
        record.drawing = mSuspended->add(connection);
        record.drawn = info;
        const auto accepted = mWorkers->request(
            key, path, fd,
            [suspended = mSuspended, request = record.drawing](const RenditionResult& result) {
                suspended->finish(*request, result);
            });
        if (accepted != RenditionWorkers::Accepted::Queued) {
            const auto kind = accepted == RenditionWorkers::Accepted::Busy
                                  ? RenditionResult::Kind::Busy
                                  : RenditionResult::Kind::Stopped;
            mSuspended->finish(*record.drawing, {kind, nullptr});
        }
        return MHD_YES;
    }

    void heldEnded()
    {
        const std::lock_guard lock(mHeldMutex);
        --mHeld;
        mHeldAnswered.notify_all();
    }

    MHD_Result answerDrawn(MHD_Connection* connection, const Connection& record)
    {
        const std::optional<RenditionResult> result = mSuspended->resultOf(*record.drawing);
        return http_answers::rendition(
            connection, result.value_or(RenditionResult{RenditionResult::Kind::Stopped, nullptr}),
            record.drawn);
    }

    // Larger viewer pages (hundreds of thousands of names) go out as files,
    // without the helper.
    static constexpr size_t kMaxPageBytes = size_t(64) << 20;

    ViewerServer::Limits mLimits;
    ServedFolders mFolders;
    ViewerPresence mPresence;
    mutable std::mutex mPagesMutex;
    std::vector<std::string> mPagesFolders;
    std::unique_ptr<ConnectionGuard> mGuard;
    std::unique_ptr<RenditionWorkers> mWorkers;
    // Shared with the drawings' callbacks, which may outlive the daemon.
    std::shared_ptr<SuspendedRequests> mSuspended = std::make_shared<SuspendedRequests>();
    // Requests whose connections are held for drawings, until they end.
    std::mutex mHeldMutex;
    std::condition_variable mHeldAnswered;
    int mHeld = 0;
    MHD_Daemon* mDaemon = nullptr;
    std::atomic<uint16_t> mPort = 0;
    std::string mToken;
    std::string mOwnPrefix; // "/TOKEN~/": the server's own addresses
    bool mStopped = false;
};

ViewerServer::ViewerServer() : ViewerServer(Limits{}) {}

ViewerServer::ViewerServer(const Limits& limits)
    : mDaemon(std::make_unique<ViewerHttpDaemon>(limits))
{
}

ViewerServer::~ViewerServer() = default;

bool ViewerServer::stop(std::chrono::milliseconds patience)
{
    return mDaemon->stop(patience);
}

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

void ViewerServer::allowPagesFolder(const std::string& folder)
{
    allowFolder(folder);
    mDaemon->servePagesOf(fs::withSeparator(folder));
}

const ViewerPresence& ViewerServer::presence() const
{
    return mDaemon->presence();
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
