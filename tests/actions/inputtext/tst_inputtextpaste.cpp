// Input Text: the inspector's length limit and Enter box; through the X server, the text
// reaches a focused line edit intact, in another process or in ours, and the clipboard
// comes back afterwards.
#include "../actiontest.h"
#include "pastetarget.h"
#include "actions/inputtext/plugininputtext.h"
#include "actions/inputtext/textpaster.h"
#include "platform/clipboard/focusedwindow.h"
#include "platform/keyboard/keyboardeventservice.h"

#include <QCheckBox>
#include <QClipboard>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

std::unique_ptr<QMimeData> earlierContent()
{
    auto data = std::make_unique<QMimeData>();
    data->setText(QStringLiteral("earlier"));
    data->setHtml(QStringLiteral("<b>earlier</b>"));
    data->setData(QStringLiteral("application/x-vanta-test"), QByteArray("\x00\x01\xfe\xff", 4));
    return data;
}

// Collects the clipboard's, the keyboard's and the actions' debug lines while it lives,
// for a failure message (they stay off otherwise).
class DebugTrace
{
public:
    DebugTrace()
    {
        s_lines.clear();
        QLoggingCategory::setFilterRules(QStringLiteral("systemdll.platform.clipboard.debug=true\n"
                                                        "systemdll.platform.keyboard.debug=true\n"
                                                        "systemdll.actions.debug=true"));
        s_previous = qInstallMessageHandler(&DebugTrace::handle);
    }
    ~DebugTrace()
    {
        qInstallMessageHandler(s_previous);
        QLoggingCategory::setFilterRules(QString());
    }
    static QString text() { return s_lines.join(QLatin1Char('\n')); }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtDebugMsg)
            s_lines << message;
        else
            s_previous(type, context, message);
    }
    static inline QStringList s_lines;
    static inline QtMessageHandler s_previous = nullptr;
};

} // namespace

class tst_InputTextPaste : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X display");
        KeyboardEventService::setInstance(KeyboardEventService::create(QStringLiteral("x11")));
        QCOMPARE(KeyboardEventService::instance()->name(), QStringLiteral("x11"));
    }

    // Typing or pasting past 500 characters drops the stretch just entered, at the cursor;
    // one undo brings back the text as it was before that edit.
    void limit_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursorAfter");
        const QString a499(499, 'a');
        const QString a490(490, 'a');
        QTest::newRow("typing up to the limit and past it") << a499 << 499 << "bcd" << "" << a499 + "b" << 500;
        QTest::newRow("typing at the limit in the middle") << a499 + "z" << 10 << "X" << "" << a499 + "z" << 10;
        QTest::newRow("pasting 600 into empty") << "" << 0 << "" << QString(600, 'p') << QString(500, 'p') << 500;
        QTest::newRow("pasting into the middle") << a490 << 100 << "" << "0123456789ABCDEFGHIJ"
            << QString(100, 'a') + "0123456789" + QString(390, 'a') << 110;
        QTest::newRow("an emoji at the limit goes whole") << a499 << 499 << "" << QString::fromUtf8("😀") << a499 << 499;
    }

    void limit()
    {
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        QFETCH(int, cursorAfter);
        PluginInputText action;
        QVERIFY(action.init("k", v1({{"SendText", before}})));
        auto* editor = action.propertyWidget()->findChild<QPlainTextEdit*>("plainTextEditPluginInputText");
        auto* counter = action.propertyWidget()->findChild<QLabel*>("lblPluginTextCount");
        QSignalSpy sent(&action, &KYPlugin::eventSent);
        QTextCursor at = editor->textCursor();
        at.setPosition(cursor);
        editor->setTextCursor(at);
        editor->setFocus();
        QTest::keyClicks(editor, typed);
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        }
        QTRY_COMPARE(editor->toPlainText(), after);
        QCOMPARE(editor->textCursor().position(), cursorAfter);
        QCOMPARE(counter->text(), QStringLiteral("%1/500").arg(after.size()));
        QCOMPARE(lastPayload(sent)["SendText"].toString(), after);

        // A paste is undone in one step; typed characters may take one step each.
        const int maxUndos = pasted.isEmpty() ? int(typed.size()) : 1;
        for (int i = 0; i < maxUndos && editor->toPlainText() != before; ++i) {
            QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
            QCoreApplication::processEvents();
            QVERIFY(editor->toPlainText().size() <= 500);
        }
        QCOMPARE(editor->toPlainText(), before);
        QCOMPARE(counter->text(), QStringLiteral("%1/500").arg(before.size()));
        QCOMPARE(lastPayload(sent)["SendText"].toString(), before);
    }

    // The box shows the stored status; each click is reported.
    void pressEnterBox()
    {
        PluginInputText action;
        QVERIFY(action.init("k", v1({{"PressEnterStatus", "False"}})));
        auto* box = action.propertyWidget()->findChild<QCheckBox*>("ckbPressEnter");
        QVERIFY(!box->isChecked());
        QSignalSpy sent(&action, &KYPlugin::eventSent);
        box->click();
        QCOMPARE(lastPayload(sent)["PressEnterStatus"].toString(), QStringLiteral("true"));
        box->click();
        QCOMPARE(lastPayload(sent)["PressEnterStatus"].toString(), QStringLiteral("False"));
        QCOMPARE(sent.count(), 2);
    }

    void unicode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("returns");
        const QString long500 = QString::fromUtf8("Zß漢😀 ").repeated(100).left(500);
        QTest::newRow("CJK, Enter") << QString::fromUtf8("漢字かなカナ한국어中文") << "true" << 1;
        QTest::newRow("emoji outside the BMP") << QString::fromUtf8("a😀b🎉c") << "False" << 0;
        QTest::newRow("accents, status True") << QString::fromUtf8("àéîõü ß Ωλ") << "True" << 0;
        QTest::newRow("500 characters") << long500 << "" << 0;
        QTest::newRow("empty text, Enter still sent") << "" << "true" << 1;
    }

    // Into another program's line edit: Qt there asks us for the text through the X server.
    void unicode()
    {
        QFETCH(QString, text);
        QFETCH(QString, status);
        QFETCH(int, returns);
        PasteTarget target;
        QVERIFY(target.waitActive());
        PluginInputText action;
        QVERIFY(action.init("k", v1({{"SendText", text}, {"PressEnterStatus", status}})));
        answer(action);
        QVERIFY2(target.waitFor([&](const QJsonObject& s) { return s["text"].toString() == text; }),
                 qPrintable(target.state()["text"].toString()));
        target.waitFor([](const QJsonObject&) { return false; }, 300);  // an Enter would have come by now
        QCOMPARE(target.state()["returns"].toInt(), returns);
        QCOMPARE(target.state()["text"].toString(), text);
    }

    // The trigger returns as soon as the target has read the text, and Enter comes
    // behind it: a line edit of ours has the text (and only then the Enter) when it does.
    void enterFollowsTheRead_data()
    {
        QTest::addColumn<bool>("ownWindow");
        QTest::newRow("a line edit of ours") << true;
        QTest::newRow("another program's line edit") << false;
    }

    void enterFollowsTheRead()
    {
        QFETCH(bool, ownWindow);
        QWidget window;
        auto* edit = new QLineEdit(&window);
        QStringList atEnter;
        connect(edit, &QLineEdit::returnPressed, edit, [&] { atEnter << edit->text(); });
        std::unique_ptr<PasteTarget> other;
        if (ownWindow) {
            window.show();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            edit->setFocus();
        } else {
            other = std::make_unique<PasteTarget>();
            QVERIFY(other->waitActive());
        }
        PluginInputText action;
        QVERIFY(action.init("k", v1({{"SendText", "read first"}, {"PressEnterStatus", "true"}})));
        QSignalSpy read(&action.findChild<TextPaster*>()->loan(), &ClipboardLoan::read);
        const DebugTrace trace;
        answer(action);
        if (ownWindow) {
            QCOMPARE(read.count(), 1);
            QCOMPARE(edit->text(), QStringLiteral("read first"));
            QTRY_COMPARE(atEnter, QStringList{QStringLiteral("read first")});
        } else {
            // Another process may be slower to read than the 100 ms the trigger waits at most.
            QTRY_VERIFY2(read.count() == 1, qPrintable(DebugTrace::text() + "\ntarget: "
                                                       + QJsonDocument(other->state()).toJson(QJsonDocument::Compact)));
            QVERIFY(other->waitFor([](const QJsonObject& s) { return s["returns"].toInt() == 1; }));
            QCOMPARE(other->state()["text"].toString(), QStringLiteral("read first"));
        }
    }

    // A terminal takes no Ctrl+V: the text reaches the program running in xterm, and
    // the Enter after it ends its line.
    void terminal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes, $(...) and spaces") << "echo 'it works' \"$(nothing)\"  end";
        QTest::newRow("one word") << "word";
    }

    void terminal()
    {
        QFETCH(QString, text);
        const QString xterm = QStandardPaths::findExecutable("xterm");
        QVERIFY2(!xterm.isEmpty(), "xterm is missing (scripts/setup)");
        QTemporaryDir dir;
        const QString out = dir.filePath("typed");
        QProcess terminal;
        terminal.start(xterm, {"-e", "sh", "-c", "exec cat > \"$0\"", out});
        QTRY_VERIFY_WITH_TIMEOUT(TextPaster::isTerminal(FocusedWindow::windowClass()), 10000);
        PluginInputText action;
        QVERIFY(action.init("k", v1({{"SendText", text}, {"PressEnterStatus", "true"}})));
        answer(action);
        const auto typed = [&] {
            QFile file(out);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(typed(), text + "\n", 5000);
        terminal.kill();
        terminal.waitForFinished();
    }

    // An owner of the clipboard that stopped answering costs a bounded wait; its content
    // is lost, and the pasted text stays in its place rather than an empty clipboard.
    void silentOwner()
    {
        PasteTarget owner;
        QVERIFY(owner.waitActive());
        owner.send("copy theirs");
        QTRY_COMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("theirs"));
        QWidget window;
        auto* edit = new QLineEdit(&window);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QCOMPARE(::kill(pid_t(owner.processId()), SIGSTOP), 0);
        PluginInputText action;
        QVERIFY(action.init("k", v1({{"SendText", "pasted"}, {"PressEnterStatus", "False"}})));
        QSignalSpy returned(&action.findChild<TextPaster*>()->loan(), &ClipboardLoan::returned);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("the clipboard owner does not answer within \\d+ ms"));
        answer(action);
        QTRY_COMPARE(edit->text(), QStringLiteral("pasted"));
        QTRY_COMPARE(returned.count(), 1);
        ::kill(pid_t(owner.processId()), SIGCONT);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("pasted"));
    }

    // Every format of what was there before comes back: once the target has read the
    // text, after the time limit when nobody does, never over another owner.
    void clipboardComesBack_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<ClipboardLoan::Outcome>("outcome");
        QTest::newRow("pasted in this process") << "own" << ClipboardLoan::Outcome::Fetched;
        QTest::newRow("pasted in another program") << "other" << ClipboardLoan::Outcome::Fetched;
        QTest::newRow("nobody pastes") << "nobody" << ClipboardLoan::Outcome::TimeLimit;
        QTest::newRow("another program copies meanwhile") << "copier" << ClipboardLoan::Outcome::TakenOver;
    }

    void clipboardComesBack()
    {
        QFETCH(QString, where);
        QFETCH(ClipboardLoan::Outcome, outcome);
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setMimeData(earlierContent().release());
        QWidget window;
        auto* edit = new QLineEdit(&window);
        std::unique_ptr<PasteTarget> other;
        if (where != QLatin1String("own") && where != QLatin1String("nobody")) {
            other = std::make_unique<PasteTarget>();
            QVERIFY(other->waitActive());
        }
        if (where != QLatin1String("other")) {
            // The copier stays in the background: our read-only edit has the focus.
            edit->setReadOnly(where != QLatin1String("own"));
            window.show();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            edit->setFocus();
        }
        PluginInputText action;
        QVERIFY(action.init("k", v1({{"SendText", "pasted"}, {"PressEnterStatus", "False"}})));
        QSignalSpy returned(&action.findChild<TextPaster*>()->loan(), &ClipboardLoan::returned);
        answer(action);
        if (where == QLatin1String("copier"))
            other->send("copy theirs");
        QTRY_COMPARE_WITH_TIMEOUT(returned.count(), 1, 3000);
        QCOMPARE(returned.first().first().value<ClipboardLoan::Outcome>(), outcome);

        if (where == QLatin1String("own"))
            QCOMPARE(edit->text(), QStringLiteral("pasted"));
        if (where == QLatin1String("other"))
            QVERIFY(other->waitFor([](const QJsonObject& s) { return s["text"] == "pasted"; }));
        if (outcome == ClipboardLoan::Outcome::TakenOver) {
            QTRY_COMPARE(clipboard->text(), QStringLiteral("theirs"));
            return;
        }
        const QMimeData* now = clipboard->mimeData();
        const auto earlier = earlierContent();
        for (const QString& format : earlier->formats())
            QCOMPARE(now->data(format), earlier->data(format));
    }
};

QTEST_MAIN(tst_InputTextPaste)
#include "tst_inputtextpaste.moc"
