#pragma once

#include <string>

#include <QWidget>

#include "app/window_logic/help_file.h"

class QTextBrowser;

namespace vimbrel {

// The help window: shows the help file of the app folder. One window for the
// whole run; asking for the contents again shows it in front, read afresh.
class HelpWindow : public QWidget
{
public:
    // `helpFile` is the full path of the file to show.
    explicit HelpWindow(std::string helpFile, QWidget* parent = nullptr);

    // Shows the file from its start, or says that it is missing.
    void showContents();

    QTextBrowser* browser() const { return mBrowser; }

private:
    std::string mHelpFile;
    QTextBrowser* mBrowser;
};

} // namespace vimbrel
