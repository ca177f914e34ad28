#include "platform/program.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include <shellapi.h>

#include "platform/file_system.h"
#include "platform/win32/wide_text.h"

namespace vimbrel::program {

std::string folder(const char*)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return win32::narrow(path.substr(0, path.find_last_of(L"\\/") + 1));
}

std::vector<std::string> arguments(int, char**)
{
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; words != nullptr && i < count; ++i) {
        result.push_back(win32::narrow(words[i]));
    }
    ::LocalFree(words);
    return result;
}

bool errorIsTerminal()
{
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

Utf8Console::Utf8Console() : mOldOutput(::GetConsoleOutputCP()), mOldInput(::GetConsoleCP())
{
    // The streams carry the bytes as written: `settings` prints Vimbrel.INI
    // byte for byte, CR LF and all, and lines end in LF as on Linux.
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
    ::SetConsoleCP(CP_UTF8);
}

Utf8Console::~Utf8Console()
{
    if (mOldOutput != 0) {
        ::SetConsoleOutputCP(mOldOutput);
    }
    if (mOldInput != 0) {
        ::SetConsoleCP(mOldInput);
    }
}

} // namespace vimbrel::program
