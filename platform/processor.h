#pragma once

namespace vimbrel {

// The processor cores this process may run on (fewer than the machine's when
// it is kept to some of them, e.g. by taskset, a container or a job object's
// affinity); at least 1.
int usableCores();

// The processor time the calling thread has used so far, in seconds: what a
// drawing that must not run without end measures itself by, whatever else
// the machine is doing.
double threadCpuSeconds();

} // namespace vimbrel
