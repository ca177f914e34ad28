#include "app/main_window/control_factory.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

namespace vimbrel {
namespace {

template <typename Control> Control* place(Control* control, const char* name, QRect geometry)
{
    control->setObjectName(QString::fromUtf8(name));
    control->setGeometry(geometry);
    return control;
}

} // namespace

QRadioButton* makeRadio(QWidget* parent, const char* name, const char* caption, QRect geometry)
{
    return place(new QRadioButton(QString::fromUtf8(caption), parent), name, geometry);
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const char* caption, QRect geometry)
{
    return place(new QCheckBox(QString::fromUtf8(caption), parent), name, geometry);
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, QRect geometry)
{
    return place(new QLabel(QString::fromUtf8(caption), parent), name, geometry);
}

QGroupBox* makeGroup(QWidget* parent, const char* name, const char* caption, QRect geometry)
{
    return place(new QGroupBox(QString::fromUtf8(caption), parent), name, geometry);
}

namespace {

// Enter presses the focused button, as it does a push button; a tool button
// answers only Space by itself.
class EnterClicks : public QObject
{
public:
    explicit EnterClicks(QToolButton* button) : QObject(button), mButton(button) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                key->modifiers() == Qt::NoModifier && mButton->isEnabled()) {
                mButton->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QToolButton* mButton;
};

} // namespace

QToolButton* makeFlatButton(QWidget* parent, const char* name, const char* caption, Glyph glyph)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setText(QString::fromUtf8(caption));
    button->setIcon(glyphIcon(glyph));
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setFixedSize(57, 22);
    button->installEventFilter(new EnterClicks(button));
    return button;
}

} // namespace vimbrel
