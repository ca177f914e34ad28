#include "viewer/pages/btns_page.h"

#include "viewer/pages/intervals.h"
#include "viewer/pages/page_text.h"

namespace vimbrel {
namespace {

constexpr const char* kCell = R"~(  <TD WIDTH="30"><A HREF="#"  onClick=)~";

// One button cell: the call, then the image's source (the button prefix and
// the rest of the line, which names the image and its tooltip).
void button(PageFile& page, const std::string& buttonPath, std::string_view call,
            std::string_view tail)
{
    page.line(std::string(kCell) + std::string(call) + "><IMG SRC=\"" + buttonPath +
              std::string(tail));
}

std::string timeTail(std::string_view image, int64_t interval)
{
    return std::string(image) + "\"   WIDTH=16 ALT=\"入替時間=" + IntervalText(interval) +
           " 秒\" BORDER=0></A></TD>";
}

} // namespace

void writeBtnsPage(PageFile& page, const PageValues& values)
{
    const std::string path = page::inAttribute(page::inUrl(values.ButtonPath));
    page.lines(R"~(<HTML>
<HEAD>
<TITLE>ボタンフレーム</TITLE>
</HEAD>
<BODY BGCOLOR="#FFFFFF" TOPMARGIN="5">
<CENTER>
<TABLE BORDER="0" CELLSPACING="0">
<TR>)~");
    button(page, path, "parent.ImgFrist()  ",
           R"~(BtnFirst.gif"   WIDTH=16 ALT="最初の画像へ" BORDER=0></A></TD>)~");
    button(page, path, "parent.ChgSize(0)  ",
           R"~(BtnGen.gif"     WIDTH=16 ALT="原寸"         BORDER=0></A></TD>)~");
    button(page, path, "parent.ImgZoom(2.0)",
           R"~(BtnZoom200.gif" WIDTH=16 ALT="2倍に拡大"    BORDER=0></A></TD>)~");
    page.lines("</TR>\n<TR>");
    button(page, path, "parent.ImgPrev()   ",
           R"~(BtnPrev.gif"    WIDTH=16 ALT="前の画像へ"   BORDER=0></A></TD>)~");
    button(page, path, "parent.ChgSize(1)  ",
           R"~(BtnTATE.gif"    WIDTH=16 ALT="縦基準"       BORDER=0></A></TD>)~");
    button(page, path, "parent.ImgZoom(1.2)",
           R"~(BtnZoom120.gif" WIDTH=16 ALT="20%に拡大"    BORDER=0></A></TD>)~");
    page.lines("</TR>\n<TR>");
    button(page, path, "parent.AutoPrev()  ",
           R"~(BtnAutoP.gif"   WIDTH=16 ALT="前へ自動"     BORDER=0></A></TD>)~");
    button(page, path, "parent.ChgSize(2)  ",
           R"~(BtnYOKO.gif"    WIDTH=16 ALT="横基準"       BORDER=0></A></TD>)~");
    button(page, path, "parent.ImgZoom(0)  ",
           R"~(BtnZoom100.gif" WIDTH=16 ALT="元に戻す"     BORDER=0></A></TD>)~");
    page.lines("</TR>\n<TR>");
    button(page, path, "parent.AutoStop()  ",
           R"~(BtnStop.gif"    WIDTH=16 ALT="ストップ"     BORDER=0></A></TD>)~");
    button(page, path, "parent.ChgSize(3)  ",
           R"~(BtnFIT.gif"     WIDTH=16 ALT="フィット"     BORDER=0></A></TD>)~");
    button(page, path, "parent.ImgZoom(0.8)",
           R"~(BtnZoom080.gif" WIDTH=16 ALT="20%に縮小"    BORDER=0></A></TD>)~");
    page.lines("</TR>\n<TR>");
    button(page, path, "parent.AutoNext()  ",
           R"~(BtnAutoN.gif"   WIDTH=16 ALT="次へ自動"     BORDER=0></A></TD>)~");
    button(page, path, "parent.ChgTime(1)  ", timeTail("BtnTIME1.gif", values.Interval1));
    button(page, path, "parent.ImgZoom(0.5)",
           R"~(BtnZoom050.gif" WIDTH=16 ALT="半分に縮小"   BORDER=0></A></TD>)~");
    page.lines("</TR>\n<TR>");
    button(page, path, "parent.ImgNext()   ",
           R"~(BtnNext.gif"    WIDTH=16 ALT="次の画像へ"   BORDER=0></A></TD>)~");
    button(page, path, "parent.ChgTime(2)  ", timeTail("BtnTIME2.gif", values.Interval2));
    page.lines(R"~(  <TD WIDTH="30"></TD>
</TR>
<TR>)~");
    button(page, path, "parent.ImgLast()   ",
           R"~(BtnLast.gif"    WIDTH=16 ALT="最後の画像へ" BORDER=0></A></TD>)~");
    button(page, path, "parent.ChgTime(3)  ", timeTail("BtnTIME3.gif", values.Interval3));
    page.lines(
        R"~(  <TD WIDTH="30"><A HREF="#"  onClick=window.open("sum_frame.htm","SubWindow","width=700,scrollbars=yes,resizable=yes")><IMG SRC="../Img/BtnSum.gif"   WIDTH=16 ALT="サムネイル表示" BORDER=0></A></TD>
</TR>
</TABLE>
</CENTER>
</BODY>
</HTML>)~");
}

} // namespace vimbrel
