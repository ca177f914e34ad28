#include "viewer/pages/menu_page.h"

#include "viewer/pages/page_text.h"

namespace vimbrel {
namespace {

// The picture menu shows the small image where there is one, else the picture.
std::string menuImageUrl(const PageValues& values, size_t i)
{
    const std::string& small = values.smallNameOf(i);
    if (values.options.RdoFNon || small.empty()) {
        return page::inUrl(values.PicturePath) + page::inUrl(values.ImageNames[i]);
    }
    return page::inUrl(values.SmallPath) + page::inUrl(small);
}

std::string entryLine(const PageValues& values, size_t i)
{
    const std::string number = std::to_string(i);
    if (values.options.RdoPic) {
        return "<TR><TD><IMG SRC=\"" + page::inAttribute(menuImageUrl(values, i)) +
               "\" WIDTH=60 onClick=parent.ImgSelect(" + number + ") ></TD></TR>";
    }
    const std::string link =
        "<A HREF=\"javascript:function voi(){};voi()\" onClick=parent.ImgSelect(" + number + ")>";
    if (values.options.RdoNum) {
        return "<TR><TD ALIGN=\"right\">" + link + std::to_string(i + 1) + "</A></TD></TR>";
    }
    return "<TR><TD>" + link + page::inText(values.ImageNames[i]) + "</A></TD></TR>";
}

} // namespace

void writeMenuPage(PageFile& page, const PageValues& values)
{
    page.lines(R"~(<HTML>
<HEAD>
<TITLE>メニューフレーム</TITLE>
</HEAD>
<BODY BGCOLOR="#FFFFFF">
<CENTER>)~");
    page.line(values.options.RdoPic ? R"~(<TABLE BORDER="0" CELLSPACING="0" CELLPADDING="5">)~"
                                    : R"~(<TABLE BORDER="0" CELLSPACING="0">)~");
    for (size_t i = 0; i < values.ImageNames.size(); ++i) {
        page.line(entryLine(values, i));
    }
    page.lines(R"~(</TABLE>
</CENTER>
</BODY>
</HTML>)~");
}

} // namespace vimbrel
