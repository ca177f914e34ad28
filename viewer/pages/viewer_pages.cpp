#include "viewer/pages/viewer_pages.h"

#include <stdexcept>

#include "viewer/pages/btns_page.h"
#include "viewer/pages/index_page.h"
#include "viewer/pages/main_page.h"
#include "viewer/pages/menu_page.h"
#include "viewer/pages/sum_frame_page.h"
#include "viewer/pages/sum_head_page.h"
#include "viewer/pages/sum_main_page.h"

namespace vimbrel {
namespace {

using PageWriter = void (*)(PageFile&, const PageValues&);

struct Page
{
    const char* name;
    PageWriter write;
};

constexpr Page kPages[] = {
    {"index.htm", writeIndexPage},        {"menu.htm", writeMenuPage},
    {"btns.htm", writeBtnsPage},          {"main.htm", writeMainPage},
    {"sum_frame.htm", writeSumFramePage}, {"sum_head.htm", writeSumHeadPage},
    {"sum_main.htm", writeSumMainPage},
};

} // namespace

void writeViewerPages(const std::string& WorkFolder, const PageValues& values)
{
    if (values.ImageNames.empty()) {
        throw std::invalid_argument("the viewer pages need at least one picture");
    }
    for (const Page& page : kPages) {
        PageFile file(WorkFolder + page.name);
        page.write(file, values);
        file.finish();
    }
}

} // namespace vimbrel
