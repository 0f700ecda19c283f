// A line edit that has the keyboard focus, in a process of its own. It prints its state
// as one JSON object per line after every change and takes commands on stdin:
// "focus", "copy <text>" (takes the clipboard with that text).
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLineEdit edit;
    edit.setWindowTitle(QStringLiteral("pastetarget"));
    edit.resize(400, 40);
    int returns = 0;
    const auto print = [&] {
        const QJsonObject state{{"text", edit.text()}, {"returns", returns}, {"active", edit.isActiveWindow()}};
        std::printf("%s\n", QJsonDocument(state).toJson(QJsonDocument::Compact).constData());
        std::fflush(stdout);
    };
    QObject::connect(&edit, &QLineEdit::textChanged, print);
    QObject::connect(&edit, &QLineEdit::returnPressed, [&] { ++returns; print(); });

    QFile input;
    input.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered);
    QSocketNotifier commands(0, QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, [&] {
        const QString line = QString::fromUtf8(input.readLine()).remove(QLatin1Char('\n'));
        if (line.isEmpty())
            app.quit();
        else if (line.startsWith(QLatin1String("copy ")))
            QGuiApplication::clipboard()->setText(line.mid(5));
        else if (line == QLatin1String("focus"))
            edit.activateWindow();
        print();
    });
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, print);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (edit.isActiveWindow()) {
            poll.stop();
            print();
        }
    });
    edit.show();
    edit.activateWindow();
    poll.start(20);
    return app.exec();
}
