#include "viewer/pages/index_page.h"

#include "viewer/pages/name_array.h"
#include "viewer/pages/page_text.h"

namespace vimbrel {

void writeIndexPage(PageFile& page, const PageValues& values)
{
    const std::string picturePath = page::inScriptString(page::inUrl(values.PicturePath));
    page.lines(R"~(<HTML>
<HEAD><TITLE>画像ビューワ本体</TITLE></HEAD>
<!-------------------------START JavaScript-------------------------------->
<SCRIPT LANGUAGE="JavaScript">
  
//=====================================================
// 変数 宣言
//=====================================================
  var img_idx  =0;       // 画像表示位置)~");
    page.line("  var img_max  =" + std::to_string(values.ImageNames.size() - 1) +
              ";     // 画像最終位置");
    page.lines(R"~(  var is_auto  =false;   // プレビューモード(TRUE:自動 / FALSE:手動)
  var auto_add =1;       // 自動プレビュー方向(1:次へ    / -1:前へ)
  var size_mode=3;       // サイズモード    (0:原寸 / 1:縦基準 / 2:横基準 / 3:フィット)
  var timerID  =10;      // タイマー自動プレビュー用
  var calcID   =11;      // タイマー画像交換用)~");
    page.line("  var interval =" + std::to_string(values.Interval1) + ";    // タイマー間隔");
    page.lines(R"~(  var buff     =null;    // 画像用
  var navi_name= navigator.appName.charAt(0).toUpperCase(); // ブラウザ名 
  var img_w    =100;     // 表示画像の横サイズ
  var img_h    =100;     // 表示画像の縦サイズ
  var img_zoom =100;     // 100%表示

  var fnames =new Array( // 画像ファイル名)~");
    // The script only loads the names, as URLs behind PicturePath.
    std::vector<std::string> entries;
    for (const std::string& name : values.ImageNames) {
        entries.push_back(page::inScriptString(page::inUrl(name)));
    }
    writeNameEntries(page, entries);
    page.endLine();
    page.line("                     );");
    page.lines(R"~(  
//=====================================================
// 共通関数
//=====================================================
  function ImgShow(idx) // 画像表示
  {

      img_idx =idx;

      // サイズ設定
      img_zoom =100;
      buff     =null;
      buff     =new Image;)~");
    page.line("      buff.src =\"" + picturePath + "\"+fnames[idx];");
    page.lines(R"~(      ImgCalc();
  }

  function ImgCalc() // 画像サイズ計算と入替
  {
      if(!buff.complete){
          clearTimeout(calcID);
          calcID = setTimeout("ImgCalc()" , 100);
          return;
      }

      clearTimeout(calcID);

      if(navi_name == "M") {
          // Microsoft Internet Explorer
          w =parent.MAIN.document.body.clientWidth  * buff.height;
          h =parent.MAIN.document.body.clientHeight * buff.width;

          switch( size_mode ) {
          case 0: // 原寸サイズ設定
                 parent.MAIN.document.PIC.width  =buff.width;
                 parent.MAIN.document.PIC.height =buff.height;
                 break;

          case 1: // 縦基準サイズ設定
                 parent.MAIN.document.PIC.width  =h / buff.height;
                 parent.MAIN.document.PIC.height =parent.MAIN.document.body.clientHeight;
                 break;

          case 2: // 横基準サイズ設定
                 parent.MAIN.document.PIC.width  =parent.MAIN.document.body.clientWidth;
                 parent.MAIN.document.PIC.height =w / buff.width;
                 break;

          case 3: // FITサイズ設定
                 if( w < h ) {
                     parent.MAIN.document.PIC.width  =parent.MAIN.document.body.clientWidth;
                     parent.MAIN.document.PIC.height =w / buff.width;
                 }
                 else {
                     parent.MAIN.document.PIC.width  =h / buff.height;
                     parent.MAIN.document.PIC.height =parent.MAIN.document.body.clientHeight;
                 }
                 break;
          }
      }
      else{
          // Netscape
          w =parent.MAIN.innerWidth  * buff.height;
          h =parent.MAIN.innerHeight * buff.width;

          switch( size_mode ) {
          case 0: // 原寸サイズ設定
                 parent.MAIN.document.PIC.width  =buff.width;
                 parent.MAIN.document.PIC.height =buff.height;
                 break;

          case 1: // 縦基準サイズ設定
                 parent.MAIN.document.PIC.width  =h / buff.height;
                 parent.MAIN.document.PIC.height =parent.MAIN.innerHeight;
                 break;

          case 2: // 横基準サイズ設定
                 parent.MAIN.document.PIC.width  =parent.MAIN.innerWidth;
                 parent.MAIN.document.PIC.height =w / buff.width;
                 break;

          case 3: // FITサイズ設定
                 if( w < h ) {
                     parent.MAIN.document.PIC.width  =parent.MAIN.innerWidth;
                     parent.MAIN.document.PIC.height =w / buff.width;
                 }
                 else {
                     parent.MAIN.document.PIC.width  =h / buff.height;
                     parent.MAIN.document.PIC.height =parent.MAIN.innerHeight;
                 }
                 break;
          }
      }
)~");
    page.line("      parent.MAIN.document.PIC.src=\"" + picturePath + "\"+fnames[img_idx]; ");
    page.lines(R"~(      img_w =parent.MAIN.document.PIC.width;
      img_h =parent.MAIN.document.PIC.height;

      //ステータス情報出力
      if(is_auto) msg="自動プレビュー";
      else        msg="手動";
      status ="[位置] "+(img_idx+1)+"/"+(img_max+1)+"  [ファイル名] "+fnames[img_idx] +"  [サイズ] "+buff.width+"x"+buff.height+"  [状態] "+msg
      return;
  }

//=====================================================
// メニュー 画面
//=====================================================
  function ImgSelect(idx) // 選択画像表示
  {
      if(is_auto) return;
      ImgShow(idx) // 画像表示
  }

//=====================================================
// ボタン 画面
//=====================================================

  function ImgFrist()  // 最初の画像表示
  {
      if(is_auto) return;

      img_idx =0;
      ImgShow(img_idx);
  }
  
  function ImgLast() // 最後の画像表示
  {
      if(is_auto) return;

      img_idx =img_max;
      ImgShow(img_idx);
  }

  function ImgNext()  // 次の画像表示
  {
      if(is_auto) return;

      img_idx++;
      if(img_idx > img_max) { img_idx =img_max; return; }
      ImgShow(img_idx);
  }
  
  function ImgPrev() // 前の画像表示
  {
      if(is_auto) return;

      img_idx--;
      if(img_idx < 0) { img_idx =0; return; }
      ImgShow(img_idx);
  }

  function AutoStop()  // プレビュー停止
  {
      is_auto =false;
      clearTimeout(timerID);
      ImgCalc();
  }

  function AutoNext()  // 自動プレビュー次へ
  {
      if(is_auto) return;
      is_auto =true;
      auto_add=1;
      AutoView();
  }

  function AutoPrev()  // 自動プレビュー前へ
  {
      if(is_auto) return;
      is_auto =true;
      auto_add=-1;
      AutoView();
  }

  function AutoView()  // 自動プレビュー
  {
      if(!is_auto) return;
      img_idx += auto_add;
      if (img_idx < 0) {
          img_idx = 0;
          AutoStop();
          return;
      }
      else if (img_max < img_idx) {
          img_idx = img_max;
          AutoStop();
          return;
      }

      clearTimeout(timerID);
      ImgShow(img_idx);
      timerID = setTimeout("AutoView()" , interval);
  }

  function ChgSize(mode)  // 画像表示サイズ変更
  {
      size_mode = mode;
      ImgShow(img_idx);
  }

  function ChgTime(mode)  // 画像プレビュー時間変更
  {
      switch(mode) {)~");
    page.line("      case 1: interval=" + std::to_string(values.Interval1) + "; break;");
    page.line("      case 2: interval=" + std::to_string(values.Interval2) + "; break;");
    page.line("      case 3: interval=" + std::to_string(values.Interval3) + "; break;");
    page.lines(R"~(      }
  }

  function ImgZoom(rate)  // 表示画像サイズ変更
  {
      if(is_auto) return;

      if(rate==0) {
          img_zoom = 100;
      }
      else if(rate<1.0) {
          if(parent.MAIN.document.PIC.width<50 || parent.MAIN.document.PIC.height<50) return;
          img_zoom *= rate;
      }
      else {
          img_zoom *= rate;
      }

      parent.MAIN.document.PIC.width  =img_w * img_zoom /100;
      parent.MAIN.document.PIC.height =img_h * img_zoom /100;)~");
    page.line("      parent.MAIN.document.PIC.src=\"" + picturePath + "\"+fnames[img_idx]; ");
    page.lines(R"~(  }

</SCRIPT>  
<!-------------------------END JavaScript-------------------------------->


<FRAMESET COLS="100,*">
  <FRAMESET ROWS="150,*">
    <FRAME SRC="btns.htm" NAME="BTNS" SCROLLING="no"   MARGINWIDTH="0" MARGINHEIGHT="0">
    <FRAME SRC="menu.htm" NAME="MENU" SCROLLING="auto" MARGINWIDTH="0" MARGINHEIGHT="0">
  </FRAMESET>
  <FRAME SRC="main.htm" NAME="MAIN" SCROLLING="auto" MARGINWIDTH="0" MARGINHEIGHT="0">
  <NOFRAMES>フレーム機能に対応したブラウザでないと動作しません。</NOFRAMES>
</FRAMESET>


</HTML>)~");
}

} // namespace vimbrel
