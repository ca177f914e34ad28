#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Vimbrel");
    QMainWindow window;
    window.setWindowTitle("Vimbrel");
    window.resize(400, 350);
    window.show();
    return QApplication::exec();
}
