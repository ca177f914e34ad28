#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace vimbrel {

// libjpeg's error handling for the tool: an error, and any warning about
// damaged data, jumps back to the setjmp of the call that is running instead
// of ending the program, so that one bad picture fails alone. Nothing is
// printed.
struct JpegErrorManager
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

// Fills `errors` and returns the pointer to hand to cinfo.err.
jpeg_error_mgr* installJpegErrorManager(JpegErrorManager& errors);

} // namespace vimbrel
