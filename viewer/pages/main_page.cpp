#include "viewer/pages/main_page.h"

#include "viewer/pages/page_text.h"

namespace vimbrel {

void writeMainPage(PageFile& page, const PageValues& values)
{
    page.lines(R"~(<HTML>
<HEAD>
<TITLE>画像表示メインフレーム</TITLE>
</HEAD>
<BODY BGCOLOR="#FFFFFF" OnLoad="parent.ImgSelect(0)">
<TABLE BORDER="0" CELLSPACING="0" CELLPADDING="0" WIDTH="100%" HEIGHT="100%">
<TR><TD ALIGN="center" VALIGN="middle">)~");
    page.line("    <IMG SRC=\"" +
              page::inAttribute(page::inUrl(values.PicturePath) +
                                page::inUrl(values.ImageNames.front())) +
              "\" NAME=\"PIC\">");
    page.lines(R"~(</TD></TR>
</TABLE>
</BODY>
</HTML>)~");
}

} // namespace vimbrel
