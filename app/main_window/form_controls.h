#pragma once

#include <array>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QWidget;

namespace vimbrel {

class FolderTree;
class TimeEdit;

// Every control of the main window under its name. The widgets belong to the
// window; this only points at them.
struct FormControls
{
    // The bar across the top.
    QWidget* Bar = nullptr;
    QToolButton* BtnShow = nullptr;
    QToolButton* BtnVer = nullptr;
    QToolButton* BtnHelp = nullptr;

    // The page control and its four pages.
    QTabWidget* Page = nullptr;
    QWidget* TabPath = nullptr;
    QWidget* TabShow = nullptr;
    QWidget* TabSet = nullptr;
    QWidget* TabOther = nullptr;

    // The status bar: "File", the count, "Path", the folder.
    QStatusBar* Status = nullptr;
    std::array<QLabel*, 4> StatusPanels{};

    // 場所
    QWidget* PanelPMain = nullptr;
    FolderTree* TreeDrive = nullptr;

    // 表示
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* RdoFile = nullptr;
    QRadioButton* RdoNum = nullptr;
    QRadioButton* RdoPic = nullptr;
    QGroupBox* BoxSmall = nullptr;
    QRadioButton* RdoFNon = nullptr;
    QRadioButton* RdoFDwon = nullptr;
    QRadioButton* RdoFWork = nullptr;
    QRadioButton* RdoFETC = nullptr;
    QToolButton* BtnFdr = nullptr;
    QCheckBox* ChkFSub = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QRadioButton* RdoAsc = nullptr;
    QRadioButton* RdoDesc = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    TimeEdit* EditTime1 = nullptr;
    TimeEdit* EditTime2 = nullptr;
    TimeEdit* EditTime3 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QCheckBox* ChkSumName = nullptr;
    QRadioButton* RdoSumType1 = nullptr;
    QRadioButton* RdoSumType2 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QRadioButton* RdoNormal = nullptr;
    QRadioButton* RdoMax = nullptr;

    // 機能
    QFrame* Bevel3 = nullptr;
    QFrame* Bevel4 = nullptr;
    QCheckBox* ChkFSel = nullptr;
    QLabel* Label9 = nullptr;
    QPlainTextEdit* MemoPIC = nullptr;
    QLabel* Label10 = nullptr;
    QPlainTextEdit* MemoMov = nullptr;
    QCheckBox* ChkDel = nullptr;

    // その他
    QCheckBox* ChkFile = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* LblSample = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* EditFHead = nullptr;
    QLabel* Label5 = nullptr;
    QSpinBox* SpinFCnt = nullptr;
    QCheckBox* ChkZero = nullptr;
    QSpinBox* SpinKeta = nullptr;
    QLabel* Label6 = nullptr;
    QCheckBox* ChkAutoNum = nullptr;
    QCheckBox* ChKRead = nullptr;
    QCheckBox* ChkDirs = nullptr;
    QToolButton* BtnExec = nullptr;
    QToolButton* BtnUndo = nullptr; // 元に戻す: takes back the last rename run
    // What 実行 would do: the counts beside the buttons, the list below them.
    QLabel* LblPreview = nullptr;
    QPlainTextEdit* MemoPreview = nullptr;
};

} // namespace vimbrel
