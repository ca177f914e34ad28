#pragma once

namespace vimbrel {

// Windows: while it lives, Ctrl+C, Ctrl+Break and the console closing no
// longer end the process but wake wait(); the process's own handling comes
// back when it goes.
class ConsoleStop
{
public:
    ConsoleStop();
    ~ConsoleStop();
    ConsoleStop(const ConsoleStop&) = delete;
    ConsoleStop& operator=(const ConsoleStop&) = delete;

    bool armed() const { return mArmed; }
    void wait();
    // Waits at most `milliseconds`; true when the stop has come.
    bool waitFor(unsigned long milliseconds);

private:
    bool mArmed = false;
};

} // namespace vimbrel
