#pragma once

#include "app/main_window/form_controls.h"

namespace vimbrel {

class FolderTreeModel;

// Each fills one part of the main window with its controls, in their places
// and in the state the window is built with, and records them in `controls`.
void buildButtonBar(QWidget* bar, FormControls& controls);
void buildStatusBar(QStatusBar* status, FormControls& controls);
void buildTabPath(QWidget* page, FolderTreeModel* model, FormControls& controls);
void buildTabShow(QWidget* page, FormControls& controls);
void buildTabFunction(QWidget* page, FormControls& controls);
void buildTabOther(QWidget* page, FormControls& controls);

} // namespace vimbrel
