#include "viewer/pages/sum_head_page.h"

#include "viewer/pages/thumbnail_pages.h"

namespace vimbrel {
namespace {

void writePageLinks(PageFile& page, const PageValues& values)
{
    const size_t pages = thumbnailPageCount(values.ImageNames.size());
    for (size_t p = 1; p <= pages; ++p) {
        const std::string number = std::to_string(p);
        page.line("      document.write('  <A HREF=# onClick=parent.SelectPage(" + number + ")>" +
                  number + "</A>');");
    }
}

} // namespace

void writeSumHeadPage(PageFile& page, const PageValues& values)
{
    page.lines(R"~(<HTML>
<HEAD><TITLE>サムネイルメニュー</TITLE></HEAD>
<!-------------------------START JavaScript-------------------------------->
<BODY BGCOLOR="#000000" TEXT="#FFFFFF" TOPMARGIN="5" LINK="#00FFFF" VLINK="#FFFF00" ALINK="#FFFF00">
<CENTER>
<TABLE WIDTH=100%>  
<TR>
<SCRIPT Language="JavaScript">
  if(parent.img_w>80) {
      document.write('<TD WIDTH=30%>');
      document.write('  画像数：'+parent.img_max+'枚　');
      document.write('  サイズ：');
      document.write('  <A HREF=# onClick="parent.ChgCellSize(100)">100</A>/');
      document.write('  <A HREF=# onClick="parent.ChgCellSize( 50)">50</A>');
      document.write('</TD>');
      document.write('<TD WIDTH=55%>');
      document.write('  移動：　');
      document.write('  <A HREF=# onClick=parent.PrevPage()   >前へ</A>');)~");
    writePageLinks(page, values);
    page.lines(R"~(      document.write('  <A HREF=# onClick=parent.NextPage()   >次へ</A>');
      document.write('</TD>');
      document.write('<TD WIDTH=15% ALIGN="right">');
      document.write('  PAGE：');
      document.write(   parent.page_idx+'/'+parent.page_max+'　');
      document.write('</TD>');
  }
  else {
      document.write('<TD WIDTH=20%>');
      document.write('  <A HREF=# onClick="parent.ChgCellSize(100)">100</A>/');
      document.write('  <A HREF=# onClick="parent.ChgCellSize( 50)">50</A>');
      document.write('</TD>');
      document.write('<TD WIDTH=65%>');
      document.write('  <A HREF=# onClick=parent.PrevPage()   >前へ</A>');)~");
    writePageLinks(page, values);
    page.lines(R"~(      document.write('  <A HREF=# onClick=parent.NextPage()   >次へ</A>');
      document.write('</TD>');
      document.write('<TD WIDTH=15% ALIGN="right">');
      document.write(   parent.page_idx+'/'+parent.page_max);
      document.write('  P');
      document.write('</TD>');
  }
</SCRIPT>
</TR>
</TABLE>  
</CENTER>
</BODY>
</HTML>)~");
}

} // namespace vimbrel
