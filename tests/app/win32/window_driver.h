#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vimbrel::testing {

// Waits, checking every few milliseconds, until `done` answers true; false
// when `seconds` pass first.
bool waitFor(const std::function<bool()>& done, int seconds = 30);

// A program with a window, started from outside and driven through window
// messages as a person's clicks and typing would reach it.
class WindowDriver
{
public:
    // Starts `program` with `arguments` (one command-line text) in `folder`.
    WindowDriver(const std::string& program, const std::string& arguments,
                 const std::string& folder);
    ~WindowDriver(); // ends the program if it still runs
    WindowDriver(const WindowDriver&) = delete;
    WindowDriver& operator=(const WindowDriver&) = delete;

    bool started() const { return mProcess.hProcess != nullptr; }
    // The program's visible top-level window of `windowClass`, waited for.
    HWND mainWindow(const wchar_t* windowClass);
    // The child of the main window with the identifier `id`, at any depth.
    HWND control(int id) const;
    std::string text(HWND window) const;
    void setText(HWND window, const std::string& text) const;
    // What a click on the button `id` tells its parent.
    void click(int id) const;

    // The message boxes the program shows now: their texts; each is
    // answered with OK.
    std::vector<std::string> answerMessageBoxes() const;

    // Asks the main window to close; true when the program ended in time.
    bool close();
    // Asks the main window to close and returns at once.
    void askToClose() const;
    // True when the program has ended, waiting at most `seconds`.
    bool ended(int seconds) const;
    DWORD exitCode() const;

private:
    PROCESS_INFORMATION mProcess{};
    HWND mWindow = nullptr;
};

} // namespace vimbrel::testing
