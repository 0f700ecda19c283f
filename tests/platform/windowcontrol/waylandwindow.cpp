// A plain window for the compositor tests, in a process of its own: titled by its first
// argument, with the app id of its second if there is one; a line "title TEXT" on its
// standard input gives it a new title. It prints "size W H" once the compositor has taken
// a frame drawn at that size (the update after it comes with the compositor's frame
// callback), so that a test can wait until the layout and the window agree and no size
// is still on its way.
#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <unistd.h>

namespace {

class Window final : public QWidget
{
public:
    void watchUpdates() { windowHandle()->installEventFilter(this); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QWidget::paintEvent(event);
        m_painted = size();
        // Asked once this frame is committed; delivered when the compositor has shown it.
        QMetaObject::invokeMethod(
            this, [this] { windowHandle()->requestUpdate(); }, Qt::QueuedConnection);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::UpdateRequest && m_painted == size() && m_painted != m_reported) {
            m_reported = m_painted;
            std::printf("size %d %d\n", width(), height());
            std::fflush(stdout);
        }
        return QWidget::eventFilter(watched, event);
    }

private:
    QSize m_painted;
    QSize m_reported;
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
    window.watchUpdates();
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
