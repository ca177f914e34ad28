#pragma once

#include "app/main_window/desktop.h"

namespace vimbrel {

// The desktop as a person meets it: QMessageBox, QFileDialog and the
// desktop's default programs.
class SystemDesktop : public Desktop
{
public:
    void showMessage(QWidget* owner, const std::string& text) override;
    void showError(QWidget* owner, const std::string& text) override;
    std::optional<std::string> chooseFolder(QWidget* owner, const std::string& title,
                                            const std::string& start) override;
    void openViewer(const ViewerPages& pages, bool maximised) override;
    void openFolder(const std::string& folder) override;
};

// The caption of every box the tool shows.
inline constexpr const char* kBoxCaption = "Vimbrel";

} // namespace vimbrel
