#pragma once

#include <string>
#include <string_view>

#include "platform/file_writer.h"

namespace vimbrel {

// One viewer page being written: UTF-8 text in, code page 932 out, every line
// ended with CR LF. A failure throws FileError; the file is closed then, and
// also when the object goes without finish().
class PageFile
{
public:
    explicit PageFile(const std::string& path);

    // Writes `text` without ending the line.
    void put(std::string_view text);
    // Ends the line begun with put().
    void endLine();
    // Writes `text` as one whole line.
    void line(std::string_view text);
    // Writes each line of `block`, whose lines are separated by "\n".
    void lines(std::string_view block);
    // Flushes and closes the page.
    void finish();

private:
    FileWriter mWriter;
};

} // namespace vimbrel
