#pragma once

#include <map>
#include <string>

#include "app/win32/form.h"
#include "app/window_logic/window_controls.h"

namespace vimbrel::win32 {

// The main window's Win32 controls as its behaviour reads and sets them.
class Win32Controls : public WindowControls
{
public:
    Win32Controls(Form& form, FolderTreeView& tree);

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
    FolderTreeView& tree() override { return mTree; }

private:
    HWND handle(Control control) const;

    Form& mForm;
    FolderTreeView& mTree;
    // The status panels' texts, as last set.
    std::map<Control, std::string> mStatusTexts;
};

} // namespace vimbrel::win32
