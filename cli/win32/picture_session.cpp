#include "cli/picture_session.h"

namespace vimbrel::cli {

struct PictureSession::State
{
};

PictureSession::PictureSession(const char*) {}

PictureSession::~PictureSession() = default;

} // namespace vimbrel::cli
