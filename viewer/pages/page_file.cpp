#include "viewer/pages/page_file.h"

#include "platform/text_encoding.h"

namespace vimbrel {

PageFile::PageFile(const std::string& path) : mWriter(path) {}

void PageFile::put(std::string_view text)
{
    mWriter.write(encoding::toShiftJis(text));
}

void PageFile::endLine()
{
    mWriter.write("\r\n");
}

void PageFile::line(std::string_view text)
{
    put(text);
    endLine();
}

void PageFile::lines(std::string_view block)
{
    size_t start = 0;
    for (;;) {
        const size_t end = block.find('\n', start);
        line(block.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

void PageFile::finish()
{
    mWriter.finish();
}

} // namespace vimbrel
