// The six actions made by category as the package makes them: what each stores after
// each input form, and the inspector edits they share, each reported once.
#include "actions/common/systemaction.h"
#include "actiontest.h"
#include "package/systemdll.h"
#include "plugin/hostcontext/kyvantaproxy.h"
#include "widgets/basepropertywidget.h"
#include "widgets/kydisplayviewattribute.h"

#include <QAbstractButton>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QWebSocket>
#include <QWebSocketServer>
#include <QtTest>

namespace {
const QString kPrefix = QStringLiteral("com.corvane.system.");
QJsonObject json(const QByteArray& text)
{
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(text, &error).object();
    if (error.error != QJsonParseError::NoError)
        qFatal("bad row: %s", text.constData());
    return object;
}
}

class tst_ActionRecords : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("SYSTEMDLL_WINDOWCONTROL_BACKEND", "none");
        QVERIFY(m_server.listen(QHostAddress::LocalHost, 0));
        connect(&m_server, &QWebSocketServer::newConnection, this, [this] {
            while (QWebSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(&m_server);
                m_latest = socket;
                // A pong comes back once the action's end has finished its handshake.
                connect(socket, &QWebSocket::pong, socket, [socket] { socket->setProperty("ready", true); });
                socket->ping();
                connect(socket, &QWebSocket::textMessageReceived, this,
                        [this](const QString& frame) { m_frames << QJsonDocument::fromJson(frame.toUtf8()).object(); });
            }
        });
        KyVantaProxy::getInstance()->port = m_server.serverPort();
    }

    void records_data();  // defined below the class: moc misreads its raw strings

    // What the record holds after init (and what the host is answered), and that the
    // stored form restores the same record.
    void records()
    {
        QFETCH(QString, name);
        QFETCH(QJsonObject, params);
        QFETCH(QJsonObject, expected);
        QFETCH(int, reports);
        auto action = make(name);
        QVERIFY(action);
        QSignalSpy sent(action.get(), &KYPlugin::eventSent);
        if (expected.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\\[Preset\\] refused"));
        QCOMPARE(action->init("key", params), !expected.isEmpty());
        QCOMPARE(sent.count(), reports);
        if (expected.isEmpty())
            return;
        const QJsonObject stored = action->settingsJson();
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            if (it.key() == "@actionTitle")
                QCOMPARE(action->actionTitle(), it.value().toString());
            else if (it.key() == "@actionIconFilePath")
                QCOMPARE(action->actionIconFilePath(), it.value().toString());
            else
                QVERIFY2(stored.value(it.key()) == it.value(), qPrintable(it.key()));
        }
        QCOMPARE(stored["version"].toInt(), 1);
        // Open URL alone answers the host's request for its settings: in the result, and as a report.
        const QJsonObject kept{{"host", "kept"}};
        const bool answers = name == "openurl";
        const QJsonObject result = answer(*action, TovKyPluginEventType::kUpdateSettingsEvent, kept);
        QCOMPARE(result["host"], kept["host"]);
        QCOMPARE(result["settings"].toObject(), answers ? stored : QJsonObject());
        QCOMPARE(result["success"].toBool(), answers || name == "hotkey");  // hotkey answers every event
        QCOMPARE(sent.count(), reports + int(answers));
        if (!sent.isEmpty())
            QCOMPARE(lastPayload(sent), stored);
        auto restored = make(name);
        QVERIFY(restored->init("key", {{"payload", stored}}));
        QCOMPARE(restored->settingsJson(), stored);
    }

    void sharedEdits_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("edit");
        for (const char* name : {"openurl", "text", "hotkey", "windowscontrol"})
            for (const char* edit : {"title", "icon", "view"})
                QTest::addRow("%s %s", name, edit) << name << edit;
    }

    // Each edit of the shared inspector part lands in the record and the key face, in
    // exactly one report; a new icon also asks the host, a moment later, to recolour the key.
    void sharedEdits()
    {
        QFETCH(QString, name);
        QFETCH(QString, edit);
        m_latest = nullptr;
        auto action = make(name);
        const QString target = QString("%1-%2").arg(name, edit);
        action->propertyWidget();  // built before the set-up, which must not connect it again
        QVERIFY(action->init(target, v1({{"titlelist", QJsonArray{"T"}}})));
        auto* base = action->propertyWidget()->findChild<BasePropertyWidget*>();
        auto* faceTitle = action->pluginWidget()->findChild<QLabel*>("lblTitle");
        auto* previewTitle = action->propertyWidget()->findChild<QLabel*>("lblImageText");
        QVERIFY(base && faceTitle && previewTitle);
        const QFont faceFont = faceTitle->font(), previewFont = previewTitle->font();
        QSignalSpy sent(action.get(), &KYPlugin::eventSent);

        KyDisplayViewAttribute attribute;
        attribute.size = 24;
        attribute.bold = true;
        if (edit == "title") {
            auto* title = base->findChild<QLineEdit*>("lineEdtPluginTitle");
            title->selectAll();
            QTest::keyClicks(title, "N");
        } else if (edit == "icon") {
            QTRY_VERIFY(m_latest && m_latest->property("ready").toBool());
            base->onIconPathChanged(0, "/tmp/new.png");
        } else {
            emit base->viewAttributeChanged(attribute);
        }
        QCOMPARE(sent.count(), 1);
        const QJsonObject stored = lastPayload(sent);
        QCOMPARE(stored, action->settingsJson());
        QCOMPARE(action->actionTitle(), QString(edit == "title" ? "N" : "T"));
        QCOMPARE(faceTitle->text(), action->actionTitle());
        QCOMPARE(stored["titlelist"].toArray(), QJsonArray{action->actionTitle()});
        if (edit == "icon") {
            QCOMPARE(stored["iconlist"].toArray(), QJsonArray{"/tmp/new.png"});
            const QJsonObject recolour{{"task", "remote.command.update.function.key.Image.Color"}, {"sender", target}};
            QVERIFY(!m_frames.contains(recolour));
            QTRY_VERIFY(m_frames.contains(recolour));
        }
        if (edit == "view") {
            QCOMPARE(KyDisplayViewAttribute::fromJson(stored["displayView"].toObject()), attribute);
            QVERIFY(faceTitle->font().bold() && faceTitle->font() != faceFont);
            previewTitle->ensurePolished();  // a style sheet's font wins once polished
            QVERIFY(previewTitle->font().bold() && previewTitle->font() != previewFont);
        }
    }

    // Key down shows the face shrunk, rendered without its title; key up the face as it was.
    void pressedLook()
    {
        auto action = make("hotkey");
        QVERIFY(action->init("k", v1({{"titlelist", QJsonArray{"Docs"}},
                                      {"iconlist", QJsonArray{":/SystemDll/images/mainpage_btn_url.png"}}})));
        QWidget* face = action->pluginWidget();
        auto* title = face->findChild<QLabel*>("lblTitle");
        face->show();
        const auto shrunk = [face] {
            QImage image(face->size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            face->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
            painter.end();
            return image.scaled(100, 72, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        };
        const QImage released = face->grab().toImage(), withTitle = shrunk();
        title->setText(QString());
        const QImage withoutTitle = shrunk();
        title->setText("Docs");
        QVERIFY(withoutTitle != withTitle);
        answer(*action, TovKyPluginEventType::kKeyDownEvent);
        QCOMPARE(face->findChild<QLabel*>("lblIcon")->pixmap().toImage().convertToFormat(withoutTitle.format()), withoutTitle);
        QCOMPARE(title->text(), QStringLiteral("Docs"));
        answer(*action, TovKyPluginEventType::kKeyUpEvent);
        QTRY_COMPARE(face->grab().toImage(), released);
    }

    void inspectorTextsFit_data()
    {
        QTest::addColumn<QString>("lang");
        for (const QString& lang : QStringLiteral(SYSTEMDLL_LANGUAGES).split(QLatin1Char(',')))
            QTest::newRow(qPrintable(lang)) << lang;
    }

    // In every language, each inspector's one-line texts fit the room their form gives them.
    void inspectorTextsFit()
    {
        QFETCH(QString, lang);
        SystemDll package;
        QTranslator* translator = package.translate(lang);
        QVERIFY(translator);
        QCoreApplication::installTranslator(translator);
        QStringList clipped;
        for (const QString& category : SystemDll::categories()) {
            std::unique_ptr<KYPlugin> action(package.makeWidget(category, 0));
            QWidget* inspector = action ? action->propertyWidget() : nullptr;
            if (!inspector)
                continue;
            inspector->ensurePolished();
            for (QWidget* widget : inspector->findChildren<QWidget*>()) {
                widget->ensurePolished();
                const auto* label = qobject_cast<QLabel*>(widget);
                const auto* button = qobject_cast<QAbstractButton*>(widget);
                const QString text = label ? label->text() : button ? button->text() : QString();
                if (text.isEmpty() || (label && label->wordWrap()) || widget->isHidden())
                    continue;
                if (widget->sizeHint().width() > widget->width())
                    clipped << QStringLiteral("%1 %2 \"%3\": %4 px in %5").arg(category.section('.', -1),
                        widget->objectName(), text).arg(widget->sizeHint().width()).arg(widget->width());
            }
        }
        QCoreApplication::removeTranslator(translator);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
    }

private:
    std::unique_ptr<SystemAction> make(const QString& name)
    {
        return std::unique_ptr<SystemAction>(qobject_cast<SystemAction*>(m_package.makeWidget(kPrefix + name, 0)));
    }

    SystemDll m_package;
    QWebSocketServer m_server{"host", QWebSocketServer::NonSecureMode};
    QList<QJsonObject> m_frames;
    QPointer<QWebSocket> m_latest;  // the host's end of the newest connection
};

void tst_ActionRecords::records_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QJsonObject>("params");
    QTest::addColumn<QJsonObject>("expected");  // members of the stored record; empty: init refuses
    QTest::addColumn<int>("reports");           // during init
    // "@actionTitle" and "@actionIconFilePath" are what those two functions answer.
    const auto row = [](const char* tag, const char* name, const QByteArray& params, const QByteArray& expected,
                        int reports = 0) {
        QTest::newRow(tag) << QString(name) << json(params) << json(expected) << reports;
    };
    const QByteArray window = R"("windowTitleName": "Mail", "processNameOfWindow": "mailer", "windowAction": "0",
        "leftTopPositionX": 10, "leftTopPositionY": 20, "windowSizeW": 640, "windowSizeH": 480)";
    KyDisplayViewAttribute big;
    big.size = 20;
    const QByteArray bigView = QJsonDocument(KyDisplayViewAttribute::toJson(big)).toJson();

    row("openurl defaults, reported at once", "openurl", "{}", R"({"titlelist": ["URL"], "actionTitle": "URL",
        "iconlist": [":/SystemDll/images/mainpage_btn_url.png"], "@actionIconFilePath": "URL"})", 1);
    row("openurl legacy", "openurl", R"({"payload": {"Url": "u", "Title": "t", "ImagePath": "/p.png"}})",
        R"({"Url": "u", "titlelist": ["t"], "iconlist": ["/p.png"], "actionTitle": "t"})");
    row("openurl versioned, title from the list", "openurl",
        R"({"payload": {"version": 1, "Url": "https://x.example", "titlelist": ["a"], "displayView": {"size": 20}}})",
        R"({"Url": "https://x.example", "actionTitle": "a", "displayView": )" + bigView + "}");
    row("openurl preset", "openurl",
        R"({"preset": {"title": "P", "url": "https://p.example", "icon": "/x.png", "actionTitle": "Act"}})",
        R"({"Url": "https://p.example", "titlelist": ["P"], "iconlist": ["/x.png"], "actionTitle": "Act"})");
    row("openurl preset without title", "openurl", R"({"preset": {"url": "https://a.example"}})", "{}");

    row("openapp versioned: the stored action title is the first title", "openapp",
        R"({"payload": {"version": 1, "titlelist": ["Ed", "x"], "FilePath": "/a.desktop", "actionTitle": "Other"}})",
        R"({"titlelist": ["Ed"], "actionTitle": "Ed", "FilePath": "/a.desktop", "@actionTitle": "Other",
            "@actionIconFilePath": "Other"})");
    row("openapp legacy", "openapp", R"({"payload": {"Title": "T", "ImagePath": "/p.png", "FilePath": "/d.txt"}})",
        R"({"titlelist": ["T"], "iconlist": ["/p.png"], "FilePath": "/d.txt", "@actionTitle": ""})");
    row("openapp preset, empty lists keep the defaults", "openapp",
        R"({"preset": {"titlelist": [], "iconlist": "not an array", "FilePath": "/x"}})",
        R"({"titlelist": ["App/File"], "iconlist": [":/SystemDll/images/mainpage_btn_app.png"], "FilePath": "/x"})");

    row("text defaults", "text", "{}",
        R"({"titlelist": ["Text"], "SendText": "", "PressEnterStatus": "true", "@actionIconFilePath": ""})");
    row("text versioned", "text",
        R"({"payload": {"version": 1, "titlelist": ["Hi"], "SendText": "hello", "PressEnterStatus": "False"}})",
        R"({"iconlist": [], "SendText": "hello", "PressEnterStatus": "False", "actionTitle": "Hi"})");
    row("text preset keeps absent lists", "text", R"({"preset": {"SendText": "x"}})",
        R"({"titlelist": [], "SendText": "x", "PressEnterStatus": "", "actionTitle": ""})");

    row("hotkey legacy", "hotkey", R"({"payload": {"Title": "T", "ImagePath": "p", "SendHotkey": "Alt+Tab"}})",
        R"({"titlelist": ["T"], "iconlist": ["p"], "SendHotkey": "Alt+Tab", "@actionIconFilePath": "T"})");
    row("hotkey preset keeps first entries", "hotkey",
        R"({"preset": {"titlelist": ["a", "b"], "iconlist": ["i", "j"], "SendHotkey": "F5"}})",
        R"({"titlelist": ["a"], "iconlist": ["i"], "actionTitle": "a", "SendHotkey": "F5"})");
    row("hotkey preset without lists keeps the defaults", "hotkey",
        R"({"preset": {"titlelist": [], "actionTitle": "Undo"}})",
        R"({"titlelist": ["Hotkey"], "iconlist": [":/SystemDll/images/mainpage_btn_hotkey.png"], "actionTitle": "Undo"})");

    row("windowscontrol versioned, first entries only", "windowscontrol",
        R"({"payload": {"version": 1, "titlelist": ["a", "b"], "iconlist": ["/1.png", "/2.png"], "actionTitle": "x", )"
            + window + "}}",
        R"({"titlelist": ["a"], "iconlist": ["/1.png"], "actionTitle": "a", "@actionIconFilePath": "", )" + window + "}");
    row("windowscontrol x without y, w without h, wrong types", "windowscontrol",
        R"({"payload": {"version": 1, "leftTopPositionX": 5, "windowSizeW": 300, "windowTitleName": 7, "titlelist": "t"}})",
        R"({"leftTopPositionX": 0, "leftTopPositionY": 0, "windowSizeW": -1, "windowSizeH": -1, "windowTitleName": "",
            "titlelist": [""]})");
    row("windowscontrol preset starts from the defaults", "windowscontrol",
        R"({"preset": {"titlelist": [], )" + window + R"(, "windowAction": "2"}})",
        R"({"titlelist": [""], "actionTitle": "", "iconlist": [":/SystemDll/images/mainpage_btn_window_control.svg"],
            "windowTitleName": "Mail", "windowAction": "2", "windowSizeH": 480})");
    row("windowscontrol legacy: own title keys, no window fields", "windowscontrol",
        R"({"payload": {"onTitle": "Old", "onImagePath": "/old.png", "Title": "x", "displayView": {"size": 20}, )"
            + window + "}}",
        R"({"titlelist": ["Old"], "iconlist": ["/old.png"], "actionTitle": "Old", "windowTitleName": "",
            "windowSizeW": -1, "displayView": )" + QJsonDocument(KyDisplayViewAttribute::toJson({})).toJson() + "}");
}

QTEST_MAIN(tst_ActionRecords)
#include "tst_actionrecords.moc"
