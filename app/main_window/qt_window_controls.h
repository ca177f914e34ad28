#pragma once

#include "app/main_window/form_controls.h"
#include <QSize>

#include "app/window_logic/window_controls.h"

class QWidget;

namespace vimbrel {

// The main window's Qt widgets as its behaviour reads and sets them, the
// folder tree included.
class QtWindowControls : public WindowControls, public FolderTreeView
{
public:
    QtWindowControls(QWidget* window, const FormControls& controls);

    bool isChecked(Control control) const override;
    void setChecked(Control control, bool checked) override;
    std::string text(Control control) const override;
    void setText(Control control, const std::string& text) override;
    void setValue(Control control, int value) override;
    std::vector<std::string> lines(Control control) const override;
    void setLines(Control control, const std::vector<std::string>& lines) override;
    void setEnabled(Control control, bool enabled) override;
    void setHint(Control control, const std::string& hint) override;
    TabPage currentPage() const override;
    void showPage(TabPage page) override;
    WindowBounds bounds() const override;
    void setBounds(const WindowBounds& bounds) override;
    FolderTreeView& tree() override { return *this; }

    TreeItem rootItem() override;
    TreeItem currentItem() override;
    void expand(TreeItem item) override;
    TreeItem childByCaption(TreeItem parent, const std::string& caption) override;
    void select(TreeItem item) override;
    std::string folderPath(TreeItem item) override;
    std::vector<std::string> captionsBelowRoot(TreeItem item) override;
    bool selectFolder(const std::string& folder) override;

private:
    QWidget* widget(Control control) const;
    QWidget* page(TabPage page) const;

    QWidget* mWindow;
    const FormControls& mControls;
    // The size the settings gave and the size shown for it, which is no
    // smaller than the window's minimum: while the window keeps the shown
    // size, the stored one is what is saved again.
    QSize mStoredSize;
    QSize mShownSize;
};

} // namespace vimbrel
