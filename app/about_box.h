#pragma once

#include <QDialog>

class QPushButton;

namespace vimbrel {

// The version box (バージョン情報): one instance for the whole run, shown
// without holding up the main window, above the other windows, and only ever
// hidden again, by OK, Enter, Escape or its close button.
class TAboutBox : public QDialog
{
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QPushButton* OKButton() const { return mOKButton; }

    // Hides the box.
    void OKButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* mOKButton;
};

} // namespace vimbrel
