#include <cstdlib>

#include <QGuiApplication>

#include "cli/picture_session.h"

namespace vimbrel::cli {
namespace {

// Without a display the application runs on the offscreen platform.
void useOffscreenWithoutDisplay()
{
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    if (!isSet("QT_QPA_PLATFORM") && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
}

} // namespace

struct PictureSession::State
{
    int argc = 1;
    char* argv[2] = {nullptr, nullptr};
    std::unique_ptr<QGuiApplication> application;
};

PictureSession::PictureSession(const char* argv0) : mState(std::make_unique<State>())
{
    useOffscreenWithoutDisplay();
    mState->argv[0] = const_cast<char*>(argv0);
    mState->application = std::make_unique<QGuiApplication>(mState->argc, mState->argv);
}

PictureSession::~PictureSession() = default;

} // namespace vimbrel::cli
