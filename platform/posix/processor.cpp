#include "platform/processor.h"

#include <sched.h>

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

} // namespace vimbrel
