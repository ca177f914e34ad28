#include "viewer/page_text.h"

namespace vimbrel::page {

std::string inScriptString(std::string_view text)
{
    return std::string(text);
}

std::string inAttribute(std::string_view text)
{
    return std::string(text);
}

std::string inUrl(std::string_view text)
{
    return std::string(text);
}

std::string inText(std::string_view text)
{
    return std::string(text);
}

} // namespace vimbrel::page
