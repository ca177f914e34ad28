// The browser the window test registers for .html files: it writes the
// command line it was started with to the file the environment variable
// VIMBREL_BROWSER_RECORD names, and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain()
{
    wchar_t record[MAX_PATH]{};
    if (::GetEnvironmentVariableW(L"VIMBREL_BROWSER_RECORD", record, MAX_PATH) == 0) {
        return 2;
    }
    // Written whole to a file beside it, then renamed, so that the test never
    // reads half of it.
    const std::wstring partial = std::wstring(record) + L".part";
    FILE* out = ::_wfopen(partial.c_str(), L"wb");
    if (out == nullptr) {
        return 1;
    }
    const wchar_t* line = ::GetCommandLineW();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    std::string text(size_t(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), size, nullptr, nullptr);
    std::fputs(text.c_str(), out);
    std::fclose(out);
    return ::MoveFileExW(partial.c_str(), record, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
