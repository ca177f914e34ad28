#include "viewer/pictures/jpeg_error.h"

#include <jerror.h>

namespace vimbrel {
namespace {

JpegErrorManager& managerOf(j_common_ptr cinfo)
{
    // `manager` is the first member, so the error pointer is the whole record.
    return *reinterpret_cast<JpegErrorManager*>(cinfo->err);
}

[[noreturn]] void jumpBack(j_common_ptr cinfo)
{
    std::longjmp(managerOf(cinfo).jump, 1);
}

void onMessage(j_common_ptr cinfo, int level)
{
    // Level -1 is a warning about the data: a truncated or corrupt stream,
    // which libjpeg would otherwise patch up with grey and go on decoding
    // (a tiny file claiming a huge picture would then take minutes). Bytes
    // before a marker are only padding, the picture itself is whole.
    if (level < 0 && cinfo->err->msg_code != JWRN_EXTRANEOUS_DATA) {
        jumpBack(cinfo);
    }
}

void silent(j_common_ptr) {}

} // namespace

jpeg_error_mgr* installJpegErrorManager(JpegErrorManager& errors)
{
    jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
    manager->error_exit = jumpBack;
    manager->emit_message = onMessage;
    manager->output_message = silent;
    return manager;
}

} // namespace vimbrel
