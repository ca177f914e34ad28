#pragma once

namespace vimbrel {

// The processor cores this process may run on (fewer than the machine's when
// it is kept to some of them, e.g. by taskset, a container or a job object's
// affinity); at least 1.
int usableCores();

} // namespace vimbrel
