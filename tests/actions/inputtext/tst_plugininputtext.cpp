// Input Text's inspector in-process: the length limit and the Enter box.
#include "../actiontest.h"
#include "actions/inputtext/plugininputtext.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

class tst_PluginInputText : public QObject
{
    Q_OBJECT
private slots:
    void limit_data();
    void limit();
    void pressEnterBox();
};

// Typing or pasting past 500 characters drops the stretch just entered, at the cursor;
// one undo brings back the text as it was before that edit.
void tst_PluginInputText::limit_data()
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

void tst_PluginInputText::limit()
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
void tst_PluginInputText::pressEnterBox()
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

QTEST_MAIN(tst_PluginInputText)
#include "tst_plugininputtext.moc"
