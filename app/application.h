#pragma once

#include <QApplication>

namespace vimbrel {

class Desktop;

// The application object of the tool. An error that escapes an event handler
// ends that handler and is shown in the general error box; the program runs on.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv, Desktop& desktop);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    Desktop& mDesktop;
};

} // namespace vimbrel
