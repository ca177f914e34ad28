#pragma once

#include <QRect>

#include "app/main_window/glyphs.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QToolButton;
class QWidget;

namespace vimbrel {

// Makers of the window's controls at fixed places: each control gets its
// name, so that it can be found by it, its caption and its geometry.
QRadioButton* makeRadio(QWidget* parent, const char* name, const char* caption, QRect place);
QCheckBox* makeCheck(QWidget* parent, const char* name, const char* caption, QRect place);
QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, QRect place);
QGroupBox* makeGroup(QWidget* parent, const char* name, const char* caption, QRect place);
// A flat button, 57 by 22 pixels, with a glyph beside its caption.
QToolButton* makeFlatButton(QWidget* parent, const char* name, const char* caption, Glyph glyph);

} // namespace vimbrel
