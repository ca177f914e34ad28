#pragma once

#include <string>
#include <vector>

// What a command-line program of the tool needs from the system at start.
namespace vimbrel::program {

// The folder that holds the running program, ending in the separator: the
// default app folder. `argv0` serves where the system cannot say.
std::string folder(const char* argv0);

// The program's arguments after its name, in UTF-8 (on Windows read from the
// wide command line, so that any name survives).
std::vector<std::string> arguments(int argc, char** argv);

// True when the standard error stream is a terminal (a console on Windows).
bool errorIsTerminal();

// For its lifetime, the console shows UTF-8 as such and the standard streams
// pass bytes unchanged (Windows: code page 65001, the old one restored
// afterwards, and binary streams); nothing to do on POSIX.
class Utf8Console
{
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    unsigned mOldOutput = 0;
    unsigned mOldInput = 0;
};

} // namespace vimbrel::program
