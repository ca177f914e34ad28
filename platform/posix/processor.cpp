#include "platform/processor.h"

#include <sched.h>
#include <time.h>

#include <algorithm>
#include <thread>

namespace vimbrel {

int usableCores()
{
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
        return std::max(1, CPU_COUNT(&allowed));
    }
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

double threadCpuSeconds()
{
    timespec used{};
    if (::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used) != 0) {
        return 0;
    }
    return double(used.tv_sec) + double(used.tv_nsec) / 1e9;
}

} // namespace vimbrel
