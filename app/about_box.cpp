#include "app/about_box.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/main_window/window_fonts.h"
#include "app/program_picture.h"
#include "app/window_logic/about_text.h"

namespace vimbrel {
namespace {

QLabel* makeText(QWidget* panel, const char* name, const char* text, QRect place, int pixelSize,
                 const QColor& colour, bool bold = false)
{
    auto* label = new QLabel(QString::fromUtf8(text), panel);
    label->setObjectName(name);
    QFont font = windowFont(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setGeometry(place);
    return label;
}

// The panel: a lowered outer bevel round a raised inner one, in the colour of
// an active title bar.
QFrame* makePanel(QWidget* box)
{
    auto* outer = new QFrame(box);
    outer->setObjectName("Panel1");
    outer->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    outer->setGeometry(8, 8, 281, 161);
    auto* inner = new QFrame(outer);
    inner->setFrameStyle(QFrame::Panel | QFrame::Raised);
    inner->setGeometry(1, 1, 279, 159);
    inner->setAutoFillBackground(true);
    QPalette palette = inner->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Active, QPalette::Highlight));
    inner->setPalette(palette);
    return inner;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("AboutBox");
    setWindowTitle(QString::fromUtf8(about::kCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setFixedSize(298, 213);

    QFrame* panel = makePanel(this);
    auto* picture = new QLabel(panel);
    picture->setObjectName("ProgramIcon");
    picture->setPixmap(programPicture(62));
    picture->setGeometry(8, 8, 62, 62);

    const QColor yellow(Qt::yellow);
    const QColor white(Qt::white);
    makeText(panel, "ProductName", about::kProductName, {88, 12, 180, 24}, 19, yellow, true);
    makeText(panel, "Version", about::kVersion, {176, 42, 96, 20}, 16, yellow);
    int top = 78;
    int number = 1;
    for (const about::Row& row : about::kRows) {
        const std::string captionName = "Caption" + std::to_string(number);
        const std::string valueName = "Value" + std::to_string(number);
        makeText(panel, captionName.c_str(), row.caption, {16, top, 80, 19}, 16, white);
        makeText(panel, valueName.c_str(), row.value, {100, top, 170, 19}, 16, white);
        top += 19;
        ++number;
    }

    mOKButton = new QPushButton(QStringLiteral("OK"), this);
    mOKButton->setObjectName("OKButton");
    mOKButton->setGeometry((298 - 75) / 2, 178, 75, 25);
    mOKButton->setDefault(true);
    connect(mOKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::OKButtonClick()
{
    hide();
}

void TAboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace vimbrel
