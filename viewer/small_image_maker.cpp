#include "viewer/small_image_maker.h"

#include "viewer/small_image_run.h"

namespace vimbrel {

SmallImageResult MakeSmallImages(const std::vector<std::string>& imageNames,
                                 const SmallImageJob& job, UserInterface& ui)
{
    return makeSmallImagesWith(imageNames, job, ui, SmallImageSettings{});
}

} // namespace vimbrel
