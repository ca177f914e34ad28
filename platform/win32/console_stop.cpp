#include "platform/console_stop.h"

#include <windows.h>

namespace vimbrel {
namespace {

// Set by the console's handler thread, waited on by the serving thread.
HANDLE gStopEvent = nullptr;

BOOL WINAPI onConsoleStop(DWORD)
{
    ::SetEvent(gStopEvent);
    return TRUE;
}

} // namespace

ConsoleStop::ConsoleStop()
{
    gStopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    mArmed = gStopEvent != nullptr && ::SetConsoleCtrlHandler(&onConsoleStop, TRUE) != 0;
}

ConsoleStop::~ConsoleStop()
{
    if (mArmed) {
        ::SetConsoleCtrlHandler(&onConsoleStop, FALSE);
    }
    if (gStopEvent != nullptr) {
        ::CloseHandle(gStopEvent);
        gStopEvent = nullptr;
    }
}

bool ConsoleStop::waitFor(unsigned long milliseconds)
{
    return mArmed && ::WaitForSingleObject(gStopEvent, DWORD(milliseconds)) == WAIT_OBJECT_0;
}

void ConsoleStop::wait()
{
    if (mArmed) {
        ::WaitForSingleObject(gStopEvent, INFINITE);
    }
}

} // namespace vimbrel
