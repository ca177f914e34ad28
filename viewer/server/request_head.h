#pragma once

#include <cstddef>
#include <optional>
#include <string>

struct MHD_Connection;

namespace vimbrel {

// Checks that a request head is valid HTTP where the HTTP engine is lenient.
// The engine takes a head apart in place and hands out its pieces as C
// strings, so a NUL byte inside the request line or a header line silently
// cuts the piece short: "GET /TOKEN/a.jpg<NUL>/../../x" would be answered as
// a request for a.jpg. Control bytes and bare CR pass the engine as well.
// These checks refuse all of them: each byte of the head must be a byte of
// one of the pieces the engine handed out, or a separator it put there.
namespace request_head {

// The value of the header `name` of the request on `connection`, if it has
// one.
std::optional<std::string> header(MHD_Connection* connection, const char* name);

// What the engine saw of the request target before it split off the query
// and decoded anything (its URI log callback): where it starts, how long it
// looks as a C string, and whether those bytes are free of control bytes and
// blanks.
struct Target
{
    const char* start = nullptr;
    size_t visible = 0;
    bool clean = false;
};

Target noteTarget(const char* uri);

// True when the head of the request on `connection`, whose method and
// version the engine handed to the request handler, is whole and clean: the
// target as long as the request line says, no byte below 0x20 (but tab in
// header values) or 0x7F in the method, target, header names or values, and
// nothing hidden between the pieces.
bool isClean(MHD_Connection* connection, const char* method, const char* version,
             const Target& target);

} // namespace request_head
} // namespace vimbrel
