#include "settings/options.h"

#include <algorithm>
#include <initializer_list>
#include <stdexcept>

namespace vimbrel {
namespace {

using Button = bool Options::*;

const std::initializer_list<std::initializer_list<Button>> kRadioGroups = {
    {&Options::RdoFile, &Options::RdoPic, &Options::RdoNum},
    {&Options::RdoAsc, &Options::RdoDesc},
    {&Options::RdoNormal, &Options::RdoMax},
    {&Options::RdoSumType1, &Options::RdoSumType2},
    {&Options::RdoFNon, &Options::RdoFDwon, &Options::RdoFWork, &Options::RdoFETC},
};

} // namespace

void Options::select(Button button)
{
    for (const auto& group : kRadioGroups) {
        if (std::find(group.begin(), group.end(), button) != group.end()) {
            for (const Button member : group) {
                this->*member = member == button;
            }
            return;
        }
    }
    throw std::invalid_argument("Options::select: not a radio button");
}

} // namespace vimbrel
