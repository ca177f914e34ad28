#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

#include "app/main_window/control_factory.h"
#include "app/main_window/form_builders.h"
#include "app/main_window/time_edit.h"

namespace vimbrel {
namespace {

void buildMenuGroups(QWidget* page, FormControls& c)
{
    c.GroupBox1 = makeGroup(page, "GroupBox1", "メニュー表示方法", {4, 2, 190, 42});
    c.RdoFile = makeRadio(c.GroupBox1, "RdoFile", "ファイル名", {8, 18, 84, 18});
    c.RdoNum = makeRadio(c.GroupBox1, "RdoNum", "番号", {95, 18, 44, 18});
    c.RdoPic = makeRadio(c.GroupBox1, "RdoPic", "画像", {140, 18, 44, 18});
    c.RdoFile->setChecked(true);

    c.GroupBox2 = makeGroup(page, "GroupBox2", "メニュー表示順", {4, 168, 190, 58});
    c.RdoAsc = makeRadio(c.GroupBox2, "RdoAsc", "ファイル名 昇順", {8, 18, 170, 18});
    c.RdoDesc = makeRadio(c.GroupBox2, "RdoDesc", "ファイル名 降順", {8, 36, 170, 18});
    c.RdoAsc->setChecked(true);
}

void buildSmallGroup(QWidget* page, FormControls& c)
{
    c.BoxSmall = makeGroup(page, "BoxSmall", "小画像作成", {4, 46, 190, 120});
    c.RdoFNon = makeRadio(c.BoxSmall, "RdoFNon", "作らない", {8, 18, 120, 18});
    c.RdoFDwon = makeRadio(c.BoxSmall, "RdoFDwon", "選択フォルダ直下", {8, 36, 120, 18});
    c.RdoFWork = makeRadio(c.BoxSmall, "RdoFWork", "work内", {8, 54, 120, 18});
    c.RdoFETC = makeRadio(c.BoxSmall, "RdoFETC", "任意", {8, 72, 60, 18});
    c.BtnFdr = makeFlatButton(c.BoxSmall, "BtnFdr", "指定", Glyph::Folder);
    c.BtnFdr->move(70, 70);
    c.ChkFSub = makeCheck(c.BoxSmall, "ChkFSub", "差分作成", {8, 96, 120, 18});
    c.RdoFNon->setChecked(true);
    c.BtnFdr->setEnabled(false);
    c.ChkFSub->setChecked(true);
}

void buildIntervalGroup(QWidget* page, FormControls& c)
{
    c.GroupBox3 = makeGroup(page, "GroupBox3", "画像表示間隔", {198, 2, 190, 94});
    struct Row
    {
        const char* label;
        const char* caption;
        const char* edit;
        const char* unit;
        const char* text;
        QLabel** labelControl;
        TimeEdit** editControl;
        QLabel** unitControl;
    };
    const Row rows[] = {
        {"Label1", "タイマー１", "EditTime1", "Label11", "  10", &c.Label1, &c.EditTime1,
         &c.Label11},
        {"Label2", "タイマー２", "EditTime2", "Label12", " 100", &c.Label2, &c.EditTime2,
         &c.Label12},
        {"Label3", "タイマー３", "EditTime3", "Label13", "  02", &c.Label3, &c.EditTime3,
         &c.Label13},
    };
    int top = 18;
    for (const Row& row : rows) {
        *row.labelControl = makeLabel(c.GroupBox3, row.label, row.caption, {10, top + 3, 70, 16});
        auto* edit = new TimeEdit(c.GroupBox3);
        edit->setObjectName(row.edit);
        edit->setGeometry(84, top, 64, 22);
        edit->setTimeText(row.text);
        *row.editControl = edit;
        *row.unitControl = makeLabel(c.GroupBox3, row.unit, "秒", {154, top + 3, 20, 16});
        top += 24;
    }
}

void buildThumbnailAndBrowserGroups(QWidget* page, FormControls& c)
{
    c.GroupBox5 = makeGroup(page, "GroupBox5", "サムネイル", {198, 98, 190, 60});
    c.ChkSumName = makeCheck(c.GroupBox5, "ChkSumName", "ファイル名表示", {8, 18, 170, 18});
    c.RdoSumType1 = makeRadio(c.GroupBox5, "RdoSumType1", "Type1", {20, 38, 70, 18});
    c.RdoSumType2 = makeRadio(c.GroupBox5, "RdoSumType2", "Type2", {96, 38, 70, 18});
    c.RdoSumType1->setChecked(true);

    c.GroupBox4 = makeGroup(page, "GroupBox4", "IE 起動", {198, 160, 190, 42});
    c.RdoNormal = makeRadio(c.GroupBox4, "RdoNormal", "標準", {8, 18, 70, 18});
    c.RdoMax = makeRadio(c.GroupBox4, "RdoMax", "最大", {86, 18, 70, 18});
    c.RdoNormal->setChecked(true);
}

} // namespace

void buildTabShow(QWidget* page, FormControls& controls)
{
    buildMenuGroups(page, controls);
    buildSmallGroup(page, controls);
    buildIntervalGroup(page, controls);
    buildThumbnailAndBrowserGroups(page, controls);
}

} // namespace vimbrel
