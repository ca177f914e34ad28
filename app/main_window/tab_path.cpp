#include <QVBoxLayout>

#include "app/main_window/folder_tree.h"
#include "app/main_window/folder_tree_model.h"
#include "app/main_window/form_builders.h"

namespace vimbrel {

void buildTabPath(QWidget* page, FolderTreeModel* model, FormControls& controls)
{
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QWidget(page);
    panel->setObjectName("PanelPMain");
    pageLayout->addWidget(panel);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(10, 10, 10, 10);
    auto* tree = new FolderTree(model, panel);
    tree->setObjectName("TreeDrive");
    panelLayout->addWidget(tree);
    controls.PanelPMain = panel;
    controls.TreeDrive = tree;
}

} // namespace vimbrel
