// A window for focus tests: `focuswindow APP TITLE` shows a small window whose app id
// (Wayland) and WM_CLASS (X11) is APP and whose title is TITLE, until its stdin closes.
#include <QApplication>
#include <QLabel>
#include <QSocketNotifier>

#include <unistd.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    QGuiApplication::setDesktopFileName(QString::fromLocal8Bit(argv[1]));
    QLabel window(QString::fromLocal8Bit(argv[2]));
    window.setWindowTitle(QString::fromLocal8Bit(argv[2]));
    window.resize(240, 80);
    window.show();
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char byte = 0;
        if (read(STDIN_FILENO, &byte, 1) <= 0)
            app.quit();
    });
    return app.exec();
}
