#include "platform/code_page_932.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace vimbrel::cp932 {
namespace {

constexpr UINT kShiftJis = 932;

} // namespace

std::optional<std::string> fromUtf8(std::string_view utf8)
{
    if (utf8.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(utf8.size());
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0) == 0) {
        return std::nullopt;
    }
    const std::wstring wide = win32::widen(utf8);
    const int wideSize = static_cast<int>(wide.size());
    // No best fit: a character without its own code page 932 form fails
    // rather than turning into a look-alike.
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize,
                                             nullptr, 0, nullptr, &usedDefault);
    if (length == 0 || usedDefault) {
        return std::nullopt;
    }
    std::string text(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, text.data(),
                          length, nullptr, &usedDefault);
    return text;
}

std::optional<std::string> toUtf8(std::string_view cp932)
{
    if (cp932.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(cp932.size());
    const int length =
        ::MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, cp932.data(), size, nullptr, 0);
    if (length == 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, cp932.data(), size, wide.data(), length);
    return win32::narrow(wide);
}

} // namespace vimbrel::cp932
