#include "platform/processor.h"

#include <windows.h>

#include <algorithm>
#include <bit>
#include <thread>

namespace vimbrel {

int usableCores()
{
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) && process != 0) {
        return std::max(1, std::popcount(static_cast<unsigned long long>(process)));
    }
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

double threadCpuSeconds()
{
    FILETIME created{};
    FILETIME ended{};
    FILETIME kernel{};
    FILETIME user{};
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user)) {
        return 0;
    }
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    // FILETIME counts in units of 100 ns.
    return double(ticks(kernel) + ticks(user)) / 1e7;
}

} // namespace vimbrel
