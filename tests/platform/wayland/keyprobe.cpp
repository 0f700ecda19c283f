// A Wayland client with a focused line edit, in a process of its own: prints every key
// it gets and every change of its text as one JSON object per line, and takes commands
// on stdin: "copy <text>" (takes the clipboard, as a user would with the focus),
// "clipboard" (prints what the clipboard holds for it), "clear".
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>

namespace {
void print(const QJsonObject& object)
{
    std::printf("%s\n", QJsonDocument(object).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

class ProbeEdit : public QLineEdit
{
protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        report("press", event);
        QLineEdit::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        report("release", event);
        QLineEdit::keyReleaseEvent(event);
    }

private:
    static void report(const char* kind, const QKeyEvent* event)
    {
        if (event->isAutoRepeat())
            return;
        print({{"key", kind}, {"code", event->key()}, {"mods", int(event->modifiers())}});
    }
};
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ProbeEdit edit;
    edit.setWindowTitle(QStringLiteral("keyprobe"));
    edit.resize(400, 40);
    QObject::connect(&edit, &QLineEdit::textChanged, [](const QString& text) { print({{"text", text}}); });

    QFile input;
    input.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered);
    QSocketNotifier commands(0, QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, [&] {
        const QString line = QString::fromUtf8(input.readLine()).remove(QLatin1Char('\n'));
        if (line.isEmpty())
            app.quit();
        else if (line.startsWith(QLatin1String("copy ")))
            QGuiApplication::clipboard()->setText(line.mid(5));
        else if (line == QLatin1String("clipboard"))
            print({{"clipboard", QGuiApplication::clipboard()->text()}});
        else if (line == QLatin1String("clear"))
            edit.clear();
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (edit.isActiveWindow()) {
            poll.stop();
            print({{"active", true}});
        }
    });
    edit.show();
    edit.activateWindow();
    poll.start(20);
    return app.exec();
}
