#include "rename/new_name.h"

#include <algorithm>

namespace vimbrel {

std::string_view ExtensionOf(std::string_view fileName)
{
    const size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
}

std::string MakeNewName(const Options& options, std::string_view oldName,
                        std::string_view numberText)
{
    std::string newName = options.EditFHead;
    if (options.ChkZero) {
        // A width from a damaged settings file must not make names of any size.
        const int width = std::clamp(options.SpinKeta, kSpinKetaMin, kSpinKetaMax);
        if (numberText.size() < static_cast<size_t>(width)) {
            newName.append(static_cast<size_t>(width) - numberText.size(), '0');
        }
    }
    newName += numberText;
    newName += ExtensionOf(oldName);
    return newName;
}

} // namespace vimbrel
