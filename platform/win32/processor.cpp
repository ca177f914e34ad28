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

} // namespace vimbrel
