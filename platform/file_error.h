#pragma once

#include <stdexcept>
#include <string>

namespace vimbrel {

// A failure that no command checks: a page or the settings file that cannot be
// written. It ends the running command and goes to the program's general error
// handler, which shows what() (UTF-8) in the error box.
class FileError : public std::runtime_error
{
public:
    explicit FileError(const std::string& message, int errorNumber = 0)
        : std::runtime_error(message), mErrorNumber(errorNumber)
    {
    }

    int errorNumber() const { return mErrorNumber; }

    // The user's text for a system error number: access denied, disk full, or
    // "I/O エラー (n)" for anything else.
    static std::string textFor(int errorNumber);

private:
    int mErrorNumber;
};

} // namespace vimbrel
