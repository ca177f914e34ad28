#include "viewer/pages/sum_main_page.h"

namespace vimbrel {
namespace {

// The cell of one thumbnail: the small image where the picture has one (when
// small images are made), centred with the file name under it when asked.
void writePictureCell(PageFile& page, bool noSmallImages, bool namesUnder)
{
    std::string source = "parent.fpath +parent.fnames[idx]";
    if (!noSmallImages) {
        page.lines(
            R"~(              if (parent.snames[idx].length > 0) fname =parent.spath +parent.snames[idx];
              else                               fname =parent.fpath +parent.fnames[idx];)~");
        source = "fname";
    }
    if (namesUnder) {
        page.line(
            R"~(              document.write('<TD ALIGN="center" WIDTH="'+parent.img_w+'"><IMG WIDTH="'+parent.img_w+'" onClick="parent.ChgMainImg('+idx+')" SRC="'+)~" +
            source + "+'\">');");
        page.lines(R"~(              if(parent.img_w>80) document.write('<BR>'+parent.fnames[idx]);
              document.write('</TD>');)~");
    } else {
        page.line(
            R"~(              document.write('<TD WIDTH="'+parent.img_w+'"><IMG WIDTH="'+parent.img_w+'" onClick="parent.ChgMainImg('+idx+')" SRC="'+)~" +
            source + "+'\"></TD>');");
    }
}

// The row of file names under a row of thumbnails.
void writeNameRow(PageFile& page)
{
    page.lines(R"~(      document.write("<TR BGCOLOR=#662222>");

      if(idx_buf<parent.img_max && parent.img_w>80){
          for(x=0; x<parent.cell_col; x++,idx_buf++){
              if(idx_buf<parent.img_max){
                  document.write('<TD ALIGN="center" WIDTH="'+parent.img_w+'">'+parent.fnames[idx_buf]+'</TD>');
              }
              else{
                  document.write('<TD ALIGN="center" WIDTH="'+parent.img_w+'">　</TD>');
              }
          }
      }
      document.write("</TR>");
)~");
}

} // namespace

void writeSumMainPage(PageFile& page, const PageValues& values)
{
    const bool namesUnder = values.options.ChkSumName && values.options.RdoSumType1;
    const bool nameRow = values.options.ChkSumName && values.options.RdoSumType2;
    page.lines(R"~(<HTML>
<HEAD><TITLE>サムネイル表示部</TITLE></HEAD>
<BODY BGCOLOR="#000000" TEXT="#FFFFFF" TOPMARGIN="5">
<CENTER>
<TABLE BORDER="2" CELLSPACING="0">
<SCRIPT Language="JavaScript">
  idx =(parent.page_idx -1) *24;

  for(y=0; y<parent.cell_row; y++){

      if(idx>=parent.img_max) break;

      document.write("<TR>");
)~");
    if (nameRow) {
        page.line("      idx_buf=idx;");
    }
    page.lines(R"~(      for(x=0; x<parent.cell_col; x++,idx++){
          if(idx<parent.img_max){)~");
    writePictureCell(page, values.options.RdoFNon, namesUnder);
    page.lines(R"~(          }
          else{
              document.write('<TD WIDTH="'+parent.img_w+'">　</TD>');
          }
      }

      document.write("</TR>");)~");
    if (nameRow) {
        writeNameRow(page);
    }
    page.lines(R"~(  }
</SCRIPT>
</TABLE>
</CENTER>
</BODY>
</HTML>)~");
}

} // namespace vimbrel
