#include "viewer/server/http_answers.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/file_reading.h"
#include "platform/whole_file.h"
#include "viewer/server/byte_range.h"
#include "viewer/server/content_type.h"
#include "viewer/server/http_date.h"
#include "viewer/server/request_head.h"

namespace vimbrel::http_answers {
namespace {

void addCommonHeaders(MHD_Response* response, const char* caching)
{
    MHD_add_response_header(response, "Cache-Control", caching);
    MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
    MHD_add_response_header(response, "Referrer-Policy", "no-referrer");
    MHD_add_response_header(response, "Cross-Origin-Resource-Policy", "same-origin");
    MHD_add_response_header(response, "Content-Security-Policy", "frame-ancestors 'self'");
    MHD_add_response_header(response, "X-Frame-Options", "SAMEORIGIN");
}

MHD_Result queue(MHD_Connection* connection, unsigned status, MHD_Response* response,
                 const char* caching = "no-cache")
{
    if (response == nullptr) {
        return MHD_NO; // the engine closes the connection
    }
    addCommonHeaders(response, caching);
    const MHD_Result result = MHD_queue_response(connection, status, response);
    MHD_destroy_response(response);
    return result;
}

MHD_Response* emptyResponse()
{
    return MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT);
}

// A copy of `body` of the type `contentType`.
MHD_Response* bufferResponse(std::string_view body, const char* contentType)
{
    MHD_Response* response = MHD_create_response_from_buffer(
        body.size(), const_cast<char*>(body.data()), MHD_RESPMEM_MUST_COPY);
    if (response != nullptr) {
        MHD_add_response_header(response, "Content-Type", contentType);
    }
    return response;
}

MHD_Response* textResponse(const std::string& text)
{
    return bufferResponse(text, "text/plain; charset=US-ASCII");
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

// True when the browser's copy, named by its validators, is still current;
// the date is asked only where the answer has one (`info`).
bool notModified(MHD_Connection* connection, const FileFacts* info, const std::string& tag)
{
    if (const auto tags = request_head::header(connection, MHD_HTTP_HEADER_IF_NONE_MATCH)) {
        return tagListMatches(*tags, tag);
    }
    if (const auto since = request_head::header(connection, MHD_HTTP_HEADER_IF_MODIFIED_SINCE);
        since && info != nullptr) {
        const auto time = parseHttpDate(*since);
        return time && info->modifiedSeconds <= *time;
    }
    return false;
}

// Bytes of a file read at a time for its answer: large enough that reading
// costs little beside sending, small enough for many connections at once.
constexpr uint64_t kFileBlock = 256 * 1024;

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
    const std::ptrdiff_t got =
        file_reading::readAt(file->fd, file->offset + position, buffer, size);
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

// `body` with its validator `tag`, or 304 while the browser's copy is
// current; Last-Modified from `modified` where given.
MHD_Result whole(MHD_Connection* connection, std::string_view body, const std::string& tag,
                 const std::string& contentType, const FileFacts* modified, const char* caching)
{
    const bool current = notModified(connection, modified, tag);
    MHD_Response* response = current ? emptyResponse() : bufferResponse(body, contentType.c_str());
    if (response == nullptr) {
        return MHD_NO;
    }
    MHD_add_response_header(response, "ETag", tag.c_str());
    if (modified != nullptr) {
        MHD_add_response_header(response, "Last-Modified",
                                httpDate(std::time_t(modified->modifiedSeconds)).c_str());
    }
    return queue(connection, current ? MHD_HTTP_NOT_MODIFIED : MHD_HTTP_OK, response, caching);
}

} // namespace

MHD_Result plain(MHD_Connection* connection, unsigned status, const std::string& text,
                 bool closeAfter)
{
    MHD_Response* response = textResponse(text.empty() ? std::to_string(status) + "\n" : text);
    if (response == nullptr) {
        return MHD_NO;
    }
    if (status == MHD_HTTP_METHOD_NOT_ALLOWED) {
        MHD_add_response_header(response, "Allow", "GET, HEAD");
    }
    if (closeAfter) {
        MHD_add_response_header(response, "Connection", "close");
    }
    return queue(connection, status, response);
}

MHD_Result file(MHD_Connection* connection, int fd, const std::string& path, const FileFacts& info)
{
    const uint64_t size = info.size;
    const std::string tag = entityTag(info);
    const std::string modified = httpDate(std::time_t(info.modifiedSeconds));
    unsigned status = MHD_HTTP_OK;
    MHD_Response* response = nullptr;
    ByteRange range = byteRangeFor(request_head::header(connection, MHD_HTTP_HEADER_RANGE), size);
    if (const auto ifRange = request_head::header(connection, MHD_HTTP_HEADER_IF_RANGE)) {
        if (*ifRange != tag && *ifRange != modified) {
            range = {};
        }
    }
    if (notModified(connection, &info, tag)) {
        closeFile(fd);
        status = MHD_HTTP_NOT_MODIFIED;
        response = emptyResponse();
    } else if (range.kind == ByteRange::Kind::Unsatisfiable) {
        closeFile(fd);
        response = textResponse("416\n");
        if (response != nullptr) {
            MHD_add_response_header(response, "Content-Range",
                                    ("bytes */" + std::to_string(size)).c_str());
        }
        return queue(connection, MHD_HTTP_RANGE_NOT_SATISFIABLE, response);
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
        response = emptyResponse();
    } else {
        response = fileResponse(fd, 0, size);
    }
    if (response == nullptr) {
        return MHD_NO;
    }
    if (status != MHD_HTTP_NOT_MODIFIED) {
        MHD_add_response_header(response, "Content-Type", contentTypeFor(path).c_str());
        MHD_add_response_header(response, "Accept-Ranges", "bytes");
    }
    MHD_add_response_header(response, "ETag", tag.c_str());
    MHD_add_response_header(response, "Last-Modified", modified.c_str());
    return queue(connection, status, response);
}

MHD_Result rendition(MHD_Connection* connection, const RenditionResult& result,
                     const FileFacts& info)
{
    switch (result.kind) {
    case RenditionResult::Kind::Drawn:
        break;
    case RenditionResult::Kind::CannotBeDrawn:
        return plain(connection, MHD_HTTP_UNSUPPORTED_MEDIA_TYPE,
                     "415 this picture cannot be drawn\n");
    case RenditionResult::Kind::TooMuchWork:
        return plain(connection, MHD_HTTP_SERVICE_UNAVAILABLE,
                     "503 this picture takes too long to draw\n");
    case RenditionResult::Kind::Stopped:
        return plain(connection, MHD_HTTP_SERVICE_UNAVAILABLE, "503 the server is stopping\n",
                     true);
    case RenditionResult::Kind::Busy: {
        MHD_Response* response = textResponse("503 too many pictures are being drawn\n");
        if (response != nullptr) {
            MHD_add_response_header(response, "Retry-After", "2");
        }
        return queue(connection, MHD_HTTP_SERVICE_UNAVAILABLE, response);
    }
    }
    const Rendition& picture = *result.rendition;
    return whole(
        connection,
        std::string_view(reinterpret_cast<const char*>(picture.bytes.data()), picture.bytes.size()),
        entityTag(info).insert(1, "r-"), picture.contentType, &info, "no-cache");
}

MHD_Result page(MHD_Connection* connection, const std::string& text, const std::string& path,
                const FileFacts& info, const std::string& helperVersion)
{
    return whole(connection, text, entityTag(info).insert(1, "h" + helperVersion + "-"),
                 contentTypeFor(path), &info, "no-cache");
}

MHD_Result script(MHD_Connection* connection, const std::string& text, const std::string& version)
{
    // Asked for by every page view: kept by the browser, asked again only
    // when the tool (and so its token) is new.
    return whole(connection, text, "\"" + version + "\"", "text/javascript; charset=US-ASCII",
                 nullptr, "private, max-age=86400");
}

MHD_Result noContent(MHD_Connection* connection)
{
    return queue(connection, MHD_HTTP_NO_CONTENT, emptyResponse(), "no-store");
}

MHD_Result json(MHD_Connection* connection, const std::string& text)
{
    return queue(connection, MHD_HTTP_OK, bufferResponse(text, "application/json"), "no-store");
}

} // namespace vimbrel::http_answers
