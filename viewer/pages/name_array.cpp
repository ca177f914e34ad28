#include "viewer/pages/name_array.h"

namespace vimbrel {

void writeNameEntries(PageFile& page, const std::vector<std::string>& entries)
{
    int onLine = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string quoted = "\"" + entries[i] + "\"";
        if (i == 0) {
            page.put(std::string(23, ' ') + quoted);
            onLine = 1;
            continue;
        }
        page.put(" ," + quoted);
        if (++onLine > 9) {
            onLine = 0;
            page.endLine();
            page.put(std::string(21, ' '));
        }
    }
}

} // namespace vimbrel
