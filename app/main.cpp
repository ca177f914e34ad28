#include "app/about_box.h"
#include "app/application.h"
#include "app/main_window/main_window.h"
#include "app/main_window/system_desktop.h"

int main(int argc, char* argv[])
{
    vimbrel::SystemDesktop desktop;
    vimbrel::Application application(argc, argv, desktop);
    // The main window comes first and loads the settings as it is built; the
    // About box is made once, hidden, and only ever shown and hidden again.
    vimbrel::TForm1 window(desktop);
    vimbrel::TAboutBox aboutBox(&window);
    window.setAboutBox(&aboutBox);
    window.show();
    return vimbrel::Application::exec();
}
