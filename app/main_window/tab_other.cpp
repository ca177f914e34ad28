#include <algorithm>

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QToolButton>

#include "app/main_window/control_factory.h"
#include "app/main_window/form_builders.h"

namespace vimbrel {
namespace {

// A spin box changed by its arrows (and the arrow keys) only.
class ArrowSpinBox : public QSpinBox
{
public:
    explicit ArrowSpinBox(QWidget* parent) : QSpinBox(parent) { lineEdit()->setReadOnly(true); }
};

QSpinBox* makeSpin(QSpinBox* spin, const char* name, int minimum, int maximum, int value,
                   QRect place)
{
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    spin->setGeometry(place);
    return spin;
}

// The list of what 実行 would do, below the buttons; at least this large.
constexpr QRect kPreviewPlace{8, 204, 380, 40};

// Keeps the list filling the page below the buttons as the page grows.
class PreviewFill : public QObject
{
public:
    PreviewFill(QWidget* page, QWidget* list) : QObject(page), mList(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize) {
            const QSize page = static_cast<QWidget*>(watched)->size();
            mList->setGeometry(
                kPreviewPlace.left(), kPreviewPlace.top(),
                std::max(kPreviewPlace.width(), page.width() - 2 * kPreviewPlace.left()),
                std::max(kPreviewPlace.height(), page.height() - kPreviewPlace.top() - 6));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* mList;
};

} // namespace

void buildTabOther(QWidget* page, FormControls& c)
{
    c.ChkFile = makeCheck(page, "ChkFile", "ファイル名をリネームする", {8, 6, 240, 18});
    c.ChkFile->setChecked(true);

    c.Bevel1 = new QFrame(page);
    c.Bevel1->setObjectName("Bevel1");
    c.Bevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    c.Bevel1->setGeometry(8, 28, 380, 26);
    c.Label7 = makeLabel(page, "Label7", "[テスト] TEST.TXT ==>", {16, 33, 130, 16});
    c.LblSample = makeLabel(page, "LblSample", "Sample0001.TXT", {150, 33, 230, 16});

    c.Label4 = makeLabel(page, "Label4", "ファイル名", {8, 67, 60, 16});
    c.EditFHead = new QLineEdit(QStringLiteral("Sample"), page);
    c.EditFHead->setObjectName("EditFHead");
    c.EditFHead->setGeometry(74, 64, 146, 22);
    c.Label5 = makeLabel(page, "Label5", "＋", {226, 67, 16, 16});
    c.SpinFCnt = makeSpin(new QSpinBox(page), "SpinFCnt", 1, 9999, 1, {244, 64, 64, 22});

    c.ChkZero = makeCheck(page, "ChkZero", "ZEROサプレスする", {8, 96, 130, 18});
    c.ChkZero->setChecked(true);
    c.SpinKeta = makeSpin(new ArrowSpinBox(page), "SpinKeta", 0, 9, 4, {140, 94, 40, 22});
    c.Label6 = makeLabel(page, "Label6", "桁", {184, 97, 20, 16});
    c.ChkAutoNum = makeCheck(page, "ChkAutoNum", "自動", {244, 96, 80, 18});

    c.ChKRead = makeCheck(page, "ChKRead", "読み取り専用ファイルは解除する", {8, 124, 260, 18});
    c.ChKRead->setChecked(true);
    c.ChkDirs = makeCheck(page, "ChkDirs", "選択フォルダ配下も行う ", {8, 148, 260, 18});

    c.BtnExec = makeFlatButton(page, "BtnExec", "実行", Glyph::Execute);
    c.BtnExec->move(8, 176);
    c.BtnUndo = makeFlatButton(page, "BtnUndo", "元に戻す", Glyph::Undo);
    c.BtnUndo->setFixedWidth(84);
    c.BtnUndo->move(72, 176);
    c.BtnUndo->setEnabled(false); // until a rename run has left a journal

    c.LblPreview = makeLabel(page, "LblPreview", "", {164, 180, 224, 16});
    c.MemoPreview = new QPlainTextEdit(page);
    c.MemoPreview->setObjectName("MemoPreview");
    c.MemoPreview->setReadOnly(true);
    c.MemoPreview->setLineWrapMode(QPlainTextEdit::NoWrap);
    c.MemoPreview->setTabChangesFocus(true);
    c.MemoPreview->setGeometry(kPreviewPlace);
    // The list takes the rest of the page, however large the window is.
    page->installEventFilter(new PreviewFill(page, c.MemoPreview));
}

} // namespace vimbrel
