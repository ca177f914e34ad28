#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>

#include "app/main_window/control_factory.h"
#include "app/main_window/form_builders.h"

namespace vimbrel {

void buildButtonBar(QWidget* bar, FormControls& controls)
{
    bar->setObjectName("Bar");
    bar->setFixedHeight(25);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 1, 2, 2);
    row->setSpacing(0);
    controls.Bar = bar;
    controls.BtnShow = makeFlatButton(bar, "BtnShow", "表示", Glyph::Show);
    controls.BtnVer = makeFlatButton(bar, "BtnVer", "Ver", Glyph::Version);
    controls.BtnHelp = makeFlatButton(bar, "BtnHelp", "Help", Glyph::Help);
    row->addWidget(controls.BtnShow);
    row->addWidget(controls.BtnVer);
    row->addWidget(controls.BtnHelp);
    row->addStretch();
}

void buildStatusBar(QStatusBar* status, FormControls& controls)
{
    status->setObjectName("Status");
    status->setSizeGripEnabled(false);
    // The boxes keep clear of the window's edges.
    status->setContentsMargins(2, 0, 4, 3);
    // The panels draw their own bevels; the fixed texts have none.
    status->setStyleSheet("QStatusBar::item { border: none; }");
    struct Panel
    {
        const char* name;
        const char* text;
        int width; // 0: takes the width the window leaves
        bool bevel;
    };
    const Panel panels[] = {{"StatusFile", "File", 30, false},
                            {"StatusCount", "", 50, true},
                            {"StatusPathCaption", "Path", 30, false},
                            {"StatusPath", "", 0, true}};
    for (size_t i = 0; i < std::size(panels); ++i) {
        auto* label = new QLabel(QString::fromUtf8(panels[i].text), status);
        label->setObjectName(panels[i].name);
        if (panels[i].bevel) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        } else {
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        if (panels[i].width > 0) {
            label->setFixedWidth(panels[i].width);
            status->addWidget(label);
        } else {
            // A long path is cut off at the right rather than widen the window.
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            status->addWidget(label, 1);
        }
        controls.StatusPanels[i] = label;
    }
    controls.Status = status;
}

} // namespace vimbrel
