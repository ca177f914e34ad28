#pragma once

namespace vimbrel {

// POSIX: while it lives, SIGINT and SIGTERM (Ctrl+C, `kill`, the session
// ending) no longer end the process at once: each makes a byte readable on
// readable(), which the program's event loop watches, so that it ends in its
// own way (saving, cleaning up, stopping the server in time). The handlers
// before it come back when it goes. One at a time per process.
class StopSignals
{
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // False when the signals cannot be watched for.
    bool armed() const { return mPipe[0] >= 0; }

    // The descriptor that becomes readable when a stop signal has come.
    int readable() const { return mPipe[0]; }

private:
    int mPipe[2] = {-1, -1};
};

} // namespace vimbrel
