// A plain window for the compositor tests, in a process of its own: titled by its first
// argument, with the app id of its second if there is one; a line "title TEXT" on its standard input gives it a new title. It prints
// "size W H" each time the compositor gives it a size, so that a test can wait until
// the compositor's layout and the window agree.
#include <QApplication>
#include <QResizeEvent>
#include <QSocketNotifier>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

class Window final : public QWidget
{
protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        std::printf("size %d %d\n", width(), height());
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 2)
        QGuiApplication::setDesktopFileName(QString::fromLocal8Bit(argv[2]));
    Window window;
    window.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Target"));
    window.resize(320, 240);
    window.show();
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &window, [&] {
        char line[512];
        const ssize_t n = read(STDIN_FILENO, line, sizeof line - 1);
        if (n <= 0) {
            input.setEnabled(false);
            return;
        }
        line[n] = '\0';
        const QString text = QString::fromLocal8Bit(line).trimmed();
        if (text.startsWith(QLatin1String("title ")))
            window.setWindowTitle(text.mid(6));
    });
    return app.exec();
}
