#pragma once

#include <microhttpd.h>

#include <string>

#include "platform/file_facts.h"
#include "viewer/server/rendition.h"

// The answers of the viewer server, each queued on its connection with the
// headers every answer carries: no sniffing, no Referer (the URL holds the
// token), no framing or loading by another origin, no caching without asking.
namespace vimbrel::http_answers {

// A short plain-text answer: `text`, or the status number and a line end.
// With `closeAfter` the connection closes once it is sent.
MHD_Result plain(MHD_Connection* connection, unsigned status, const std::string& text = {},
                 bool closeAfter = false);

// The plain file `path` open as `fd` (owned from now on), with `info` its
// facts: its whole content, the part a Range asks for, or 304 while the
// browser's copy is current. The content is read as it goes out.
MHD_Result file(MHD_Connection* connection, int fd, const std::string& path, const FileFacts& info);

// What became of the rendition of the file with `info`: the picture (or 304),
// 415 when it cannot be drawn, 503 when it takes too much work, too many
// wait for drawings or the server stops.
MHD_Result rendition(MHD_Connection* connection, const RenditionResult& result,
                     const FileFacts& info);

// A viewer page as served: `text` (the file of `path` with the helper
// script added), its validator made from the file's facts and the helper's
// `helperVersion`.
MHD_Result page(MHD_Connection* connection, const std::string& text, const std::string& path,
                const FileFacts& info, const std::string& helperVersion);

// The helper script, which the browser may keep for a day.
MHD_Result script(MHD_Connection* connection, const std::string& text, const std::string& version);

// 204: a sign of life taken.
MHD_Result noContent(MHD_Connection* connection);

// `text` as application/json, never kept.
MHD_Result json(MHD_Connection* connection, const std::string& text);

} // namespace vimbrel::http_answers
