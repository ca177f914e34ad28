#include "viewer/pages/sum_frame_page.h"

#include "viewer/pages/name_array.h"
#include "viewer/pages/page_text.h"
#include "viewer/pages/thumbnail_pages.h"

namespace vimbrel {
namespace {

// Closes a name array on the line of its last entries.
constexpr const char* kArrayClose = "                     );";

// sum_main.htm writes fpath, spath and snames into the SRC attribute of a
// thumbnail's image.
std::string urlEntry(const std::string& text)
{
    return page::inScriptString(page::inMarkup(page::inUrl(text)));
}

// sum_main.htm writes a picture's name as text under its thumbnail, and, where
// the picture has no small image, into the image's SRC as well. A character
// that a URL must escape (# % ? \) can then only be right in one of the two:
// the URL wins, so that the thumbnail loads, and the name shows the escape.
std::string pictureNameEntry(const PageValues& values, size_t i)
{
    const std::string& name = values.ImageNames[i];
    const bool loaded = values.options.RdoFNon || values.smallNameOf(i).empty();
    return page::inScriptString(page::inMarkup(loaded ? page::inUrl(name) : name));
}

} // namespace

void writeSumFramePage(PageFile& page, const PageValues& values)
{
    const bool withSmall = !values.options.RdoFNon;
    page.lines(R"~(<HTML>
<HEAD><TITLE>サムネイル本体</TITLE></HEAD>
<!-------------------------START JavaScript-------------------------------->
<SCRIPT LANGUAGE="JavaScript">
  
//=====================================================
// 変数 宣言
//=====================================================
var img_idx  =0;       // 画像表示位置)~");
    page.line("var img_max  =" + std::to_string(values.ImageNames.size()) +
              ";     // 画像最終位置");
    page.lines(R"~(var img_w    =100;     // 画像最終位置
var page_idx =1;       // 表示ページ位置)~");
    page.line("var page_max =" + std::to_string(thumbnailPageCount(values.ImageNames.size())) +
              ";       // 最大ページ");
    page.lines(R"~(var cell_col =6;       // サムネイルの横画像枚数
var cell_row =4;       // サムネイルの縦画像枚数
var navi_name= navigator.appName.charAt(0).toUpperCase(); // ブラウザ名 )~");
    page.line("var fpath    =\"" + urlEntry(values.PicturePath) + "\";       // ファイルパス");
    if (withSmall) {
        page.line("var spath    =\"" + urlEntry(values.SmallPath) +
                  "\";       // 小画像ファイルパス");
    }
    page.lines(R"~(
var fnames =new Array( // 元画像ファイル名)~");
    std::vector<std::string> names;
    for (size_t i = 0; i < values.ImageNames.size(); ++i) {
        names.push_back(pictureNameEntry(values, i));
    }
    writeNameEntries(page, names);
    page.line(kArrayClose);
    if (withSmall) {
        page.line("var snames =new Array( // 小画像ファイル名");
        std::vector<std::string> smallNames;
        for (size_t i = 0; i < values.ImageNames.size(); ++i) {
            smallNames.push_back(urlEntry(values.smallNameOf(i)));
        }
        writeNameEntries(page, smallNames);
        page.line(kArrayClose);
    }
    page.lines(R"~(
//=====================================================
// 呼び元画面へ送る関数
//=====================================================
//　表示画像変更
function ChgMainImg(idx)
{
    if (!window.opener.closed){
        window.opener.parent.ImgSelect(idx);
    }
}


//=====================================================
// サムネイル内関数
//=====================================================
//　セルサイズ変更
function ChgCellSize(size_w)
{
    if(img_w == size_w) return;

    scr_w =size_w *6 +60;
    scr_h =parent.SHOW.document.body.clientHeight *size_w /img_w +70;
    img_w =size_w;
    parent.HEAD.location.href ="sum_head.htm";
    parent.SHOW.location.href ="sum_main.htm";
    parent.resizeTo(scr_w, scr_h);

}

//　ページ選択
function SelectPage(page)
{
    if(page_idx==page) return;

    page_idx=page;
    parent.HEAD.location.href ="sum_head.htm";
    parent.SHOW.location.href ="sum_main.htm";
}

//　前のページへ移動
function PrevPage()
{
    if(page_idx<=1) return;
    SelectPage(page_idx-1);
}

//　次のページへ移動
function NextPage()
{
    if(page_idx>=page_max) return;
    SelectPage(page_idx+1);
}
    
</SCRIPT>  
<!-------------------------END JavaScript-------------------------------->

<FRAMESET ROWS="30,*" BORDER=0>
    <FRAME SRC="sum_head.htm" NAME="HEAD" SCROLLING="no"   MARGINWIDTH="0" MARGINHEIGHT="0" NORESIZE>
    <FRAME SRC="sum_main.htm" NAME="SHOW" SCROLLING="auto" MARGINWIDTH="0" MARGINHEIGHT="0">
    <NOFRAMES>フレーム機能に対応したブラウザでないと動作しません。</NOFRAMES>
</FRAMESET>


</HTML>)~");
}

} // namespace vimbrel
