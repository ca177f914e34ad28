#include "tests/app/recording_desktop.h"

#include <sstream>

namespace vimbrel::testing {

std::vector<std::string> captionsOf(const std::string& folder)
{
    std::vector<std::string> captions = {"/"};
    std::istringstream parts(folder);
    std::string part;
    while (std::getline(parts, part, '/')) {
        if (!part.empty()) {
            captions.push_back(part);
        }
    }
    return captions;
}

} // namespace vimbrel::testing
