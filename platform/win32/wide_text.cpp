#include "platform/win32/wide_text.h"

#include <windows.h>

namespace vimbrel::win32 {

std::wstring widen(std::string_view utf8)
{
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string narrow(std::wstring_view utf16)
{
    if (utf16.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf16.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::wstring shellPath(std::string_view path)
{
    std::wstring wide = widen(path);
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return wide;
}

std::wstring systemPath(std::string_view path)
{
    std::wstring wide = shellPath(path);
    // Old limit less room for a file name of 8.3 that folder functions add.
    constexpr size_t kShortLimit = MAX_PATH - 12;
    if (wide.size() < kShortLimit || wide.rfind(L"\\\\?\\", 0) == 0) {
        return wide;
    }
    if (wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\') {
        return L"\\\\?\\" + wide;
    }
    if (wide.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + wide.substr(2);
    }
    return wide;
}

} // namespace vimbrel::win32
