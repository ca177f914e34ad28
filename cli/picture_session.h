#pragma once

#include <memory>

namespace vimbrel::cli {

// What drawing pictures needs for the whole run of vimbrel-cli: on Linux a
// GUI application, whose fonts the metafile text and whose desktop --open
// use (offscreen where there is no display); on Windows nothing, as GDI and
// the shell need no set-up.
class PictureSession
{
public:
    explicit PictureSession(const char* argv0);
    ~PictureSession();
    PictureSession(const PictureSession&) = delete;
    PictureSession& operator=(const PictureSession&) = delete;

private:
    struct State;
    std::unique_ptr<State> mState;
};

} // namespace vimbrel::cli
