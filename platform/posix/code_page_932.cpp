#include "platform/code_page_932.h"

#include <cerrno>
#include <iconv.h>

#include <stdexcept>

namespace vimbrel::cp932 {
namespace {

// One iconv conversion descriptor, opened once per thread and direction.
class Converter
{
public:
    Converter(const char* to, const char* from) : mHandle(iconv_open(to, from))
    {
        if (mHandle == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
        }
    }
    ~Converter() { iconv_close(mHandle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `input`; nothing when any byte cannot be converted.
    std::optional<std::string> convert(std::string_view input)
    {
        iconv(mHandle, nullptr, nullptr, nullptr, nullptr); // reset the shift state
        std::string output;
        output.resize(input.size() * 2 + 16);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char* out = output.data();
        size_t outLeft = output.size();
        while (inLeft > 0) {
            if (iconv(mHandle, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) {
                if (errno != E2BIG) {
                    return std::nullopt;
                }
                const size_t used = output.size() - outLeft;
                output.resize(output.size() * 2);
                out = output.data() + used;
                outLeft = output.size() - used;
            }
        }
        output.resize(output.size() - outLeft);
        return output;
    }

private:
    iconv_t mHandle;
};

Converter& toCp932()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

Converter& fromCp932()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

} // namespace

std::optional<std::string> fromUtf8(std::string_view utf8)
{
    return toCp932().convert(utf8);
}

std::optional<std::string> toUtf8(std::string_view cp932)
{
    return fromCp932().convert(cp932);
}

} // namespace vimbrel::cp932
