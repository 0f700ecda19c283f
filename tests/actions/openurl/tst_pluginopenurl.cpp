// Open URL in-process: typing into its inspector, triggering, key faces.
#include "actions/openurl/pluginopenurl.h"
#include "platform/keyboard/record/recordingkeyboardservice.h"
#include "plugin/tovkyplugineventtype.h"
#include "widgets/basepropertywidget.h"
#include "widgets/kydisplayviewattribute.h"

#include <QDesktopServices>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
    QElapsedTimer sinceOpen;
public slots:
    void open(const QUrl& url)
    {
        urls << url;
        sinceOpen.start();
    }
};

namespace {
QJsonObject lastPayload(const QSignalSpy& spy)
{
    return spy.last().first().toJsonObject()["event"].toObject()["payload"].toObject();
}
QJsonObject eventOf(const QString& type)
{
    return {{"target", "k"}, {"event", QJsonObject{{"type", type}}}};
}
}

class tst_PluginOpenUrl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void urlEdits_data();
    void urlEdits();
    void baseEdits_data();
    void baseEdits();
    void trigger_data();
    void trigger();
    void pressedLook();

private:
    UrlCatcher m_catcher;
    RecordingKeyboardService* m_keys = nullptr;
};

void tst_PluginOpenUrl::initTestCase()
{
    for (const char* scheme : {"https", "http", "ftp", "file", "example"})
        QDesktopServices::setUrlHandler(scheme, &m_catcher, "open");
    auto recorder = std::make_unique<RecordingKeyboardService>();
    m_keys = recorder.get();
    KeyboardEventService::setInstance(std::move(recorder));
}

void tst_PluginOpenUrl::urlEdits_data()
{
    QTest::addColumn<bool>("actionMode");
    QTest::addColumn<QString>("typed");
    QTest::newRow("every keystroke reported") << false << "example.org";
    QTest::newRow("action mode keeps the address editable") << true << "x";
}

// An address set by the host is shown and not reported back; one the user types is,
// keystroke by keystroke, down to the empty one.
void tst_PluginOpenUrl::urlEdits()
{
    QFETCH(bool, actionMode);
    QFETCH(QString, typed);
    PluginOpenUrl action;
    action.actionMode = actionMode;
    QVERIFY(action.init("k1", {{"payload", QJsonObject{{"version", 1}, {"Url", "https://a.example"}}}}));
    QSignalSpy sent(&action, &KYPlugin::eventSent);
    auto* edit = action.propertyWidget()->findChild<QLineEdit*>("txtEditPluginURL");
    QVERIFY(action.init("k1", {{"payload", QJsonObject{{"version", 1}, {"Url", "https://b.example"}}}}));
    QCOMPARE(edit->text(), QStringLiteral("https://b.example"));
    QCOMPARE(sent.count(), 0);
    QCOMPARE(action.propertyWidget()->findChild<QLineEdit*>("lineEdtPluginTitle")->isReadOnly(), actionMode);

    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QCOMPARE(sent.count(), typed.size());
    QCOMPARE(lastPayload(sent)["Url"].toString(), typed);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(sent.count(), typed.size() + 1);
    QCOMPARE(lastPayload(sent)["Url"].toString(), QString());
}

// The shared edits of the inspector: each lands in the record, in both widgets and
// in exactly one report.
void tst_PluginOpenUrl::baseEdits_data()
{
    QTest::addColumn<bool>("title");  // else a text attribute
    QTest::newRow("title typed") << true;
    QTest::newRow("text attributes") << false;
}

void tst_PluginOpenUrl::baseEdits()
{
    QFETCH(bool, title);
    PluginOpenUrl action;
    QVERIFY(action.init("k1", {{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"T"}}}}}));
    auto* base = action.propertyWidget()->findChild<BasePropertyWidget*>();
    auto* faceTitle = action.pluginWidget()->findChild<QLabel*>("lblTitle");
    auto* previewTitle = action.propertyWidget()->findChild<QLabel*>("lblImageText");
    QVERIFY(base && faceTitle && previewTitle);
    const QFont faceFont = faceTitle->font();
    const QFont previewFont = previewTitle->font();
    QSignalSpy sent(&action, &KYPlugin::eventSent);

    KyDisplayViewAttribute attribute;
    attribute.size = 24;
    attribute.bold = true;
    if (title) {
        auto* edit = action.propertyWidget()->findChild<QLineEdit*>("lineEdtPluginTitle");
        edit->selectAll();
        QTest::keyClicks(edit, "N");
    } else {
        emit base->viewAttributeChanged(attribute);
    }
    QCOMPARE(sent.count(), 1);
    const QJsonObject payload = lastPayload(sent);
    if (title) {
        QCOMPARE(action.actionTitle(), QStringLiteral("N"));
        QCOMPARE(payload["actionTitle"].toString(), QStringLiteral("N"));
        QCOMPARE(payload["titlelist"].toArray().first().toString(), QStringLiteral("N"));
        QCOMPARE(faceTitle->text(), QStringLiteral("N"));
    } else {
        QCOMPARE(KyDisplayViewAttribute::fromJson(payload["displayView"].toObject()), attribute);
        QVERIFY(faceTitle->font().bold() && faceTitle->font() != faceFont);
        faceTitle->ensurePolished();  // a style sheet's font wins once polished
        previewTitle->ensurePolished();
        QVERIFY(previewTitle->font().bold() && previewTitle->font() != previewFont);
        QCOMPARE(action.actionTitle(), QStringLiteral("T"));
    }
}

void tst_PluginOpenUrl::trigger_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<bool>("keys");
    // The keys first: the rows after it start from a cleared recorder.
    QTest::newRow("browser shortcut") << "@" << "https:" << true;
    QTest::newRow("plain") << "https://www.example.org/a?b=c#d" << "https://www.example.org/a?b=c#d" << false;
    QTest::newRow("no scheme is not prefixed") << "example.org" << "" << false;
}

void tst_PluginOpenUrl::trigger()
{
    QFETCH(QString, url);
    QFETCH(QString, opened);
    QFETCH(bool, keys);
    m_catcher.urls.clear();
    m_keys->clear();
    PluginOpenUrl action;
    QVERIFY(action.init("k1", {{"payload", QJsonObject{{"version", 1}, {"Url", url}}}}));
    QJsonObject result{{"kept", 1}};
    action.eventReceived(eventOf(TovKyPluginEventType::kAppTriggeredEvent), result);
    QCOMPARE(result, QJsonObject({{"kept", 1}}));
    if (opened.isEmpty()) {
        QVERIFY(m_catcher.urls.isEmpty());  // no handler for a scheme-less address
    } else {
        QCOMPARE(m_catcher.urls.size(), 1);
        QVERIFY2(m_catcher.urls.first().toString().startsWith(opened), qPrintable(m_catcher.urls.first().toString()));
    }
    const KeyEventSequence expected = {
        KeyEvent::press(4).withFlags(0x120000),
        KeyEvent::release(4),
    };
    QCOMPARE(m_keys->events(), keys ? expected : KeyEventSequence{});
    if (keys)  // the browser gets its 100 ms before the keys
        QVERIFY2(m_catcher.sinceOpen.elapsed() >= 100, qPrintable(QString::number(m_catcher.sinceOpen.elapsed())));
}

// Key down shows the face without its title, shrunk to 100 x 72, under the click
// mask; key up brings the icon back.
void tst_PluginOpenUrl::pressedLook()
{
    PluginOpenUrl action;
    QVERIFY(action.init("k1", {{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"Docs"}},
                                                       {"iconlist", QJsonArray{":/SystemDll/images/mainpage_btn_url.png"}}}}}));
    QWidget* face = action.pluginWidget();
    face->show();
    auto* icon = face->findChild<QLabel*>("lblIcon");
    auto* title = face->findChild<QLabel*>("lblTitle");
    auto* mask = face->findChild<QLabel*>("lblMaskClick");
    QVERIFY(icon && title && mask);
    const QImage released = face->grab().toImage();
    const QImage scaledWithTitle =
        face->grab().scaled(100, 72, Qt::IgnoreAspectRatio, Qt::FastTransformation).toImage();

    QJsonObject result;
    action.eventReceived(eventOf(TovKyPluginEventType::kKeyDownEvent), result);
    const QPixmap down = icon->pixmap();
    QCOMPARE(down.size(), QSize(100, 72));
    QVERIFY(down.toImage().convertToFormat(scaledWithTitle.format()) != scaledWithTitle);  // no title in it
    QCOMPARE(title->text(), QStringLiteral("Docs"));
    QVERIFY(mask->isVisible());

    action.eventReceived(eventOf(TovKyPluginEventType::kKeyUpEvent), result);
    QVERIFY(!mask->isVisible());
    QTRY_COMPARE(face->grab().toImage(), released);
}

QTEST_MAIN(tst_PluginOpenUrl)
#include "tst_pluginopenurl.moc"
