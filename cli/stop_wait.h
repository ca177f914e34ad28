#pragma once

#include <chrono>
#include <memory>

namespace vimbrel::cli {

// Waits for the person to stop `vimbrel-cli show --serve`: on Linux SIGINT
// or SIGTERM (the handlers before it come back when it goes), while Qt's
// events go on; on Windows Ctrl+C, Ctrl+Break or the console closing.
class StopWait
{
public:
    StopWait();
    ~StopWait();
    StopWait(const StopWait&) = delete;
    StopWait& operator=(const StopWait&) = delete;

    // False when the stop cannot be watched for.
    bool armed() const;

    // Returns when the stop has come.
    void wait();

    // Returns when the stop has come (true) or `patience` has passed.
    bool waitFor(std::chrono::milliseconds patience);

private:
    struct State;
    std::unique_ptr<State> mState;
};

} // namespace vimbrel::cli
