// System Multimedia inside the package: the three input forms and their edge cases, the
// inspector's picks and title as a user makes them, and the user's own image per entry.
#include "../actiontest.h"
#include "actions/multimedia/pluginsystemmultimedia.h"
#include "actions/multimedia/widgetpluginsystemmultimedia.h"
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/dialogiconeditmenu.h"
#include "iconbuilder/iconfilechooser.h"
#include "modaldriver.h"
#include "platform/media/record/recordingmediakeyservice.h"
#include "plugin/hostcontext/kyvantaproxy.h"
#include "testpictures.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kImage = QStringLiteral(":/SystemDll/images/mainpage_btn_multimedia%1.png");
const QStringList kDefaults{kImage.arg(""), kImage.arg("_stop"), kImage.arg("_previoustrack"), kImage.arg("_nexttrack"),
                            kImage.arg("_mute"), kImage.arg("_increasevolume"), kImage.arg("_decreasevolume")};

// The key types the recorder got, key-down records only, in order.
QList<int> pressedKeyTypes(const RecordingMediaKeyService& recorder)
{
    QList<int> types;
    for (const AuxKeyRecord& record : recorder.records())
        if (record.isKeyDown())
            types << record.keyType();
    return types;
}

} // namespace

class tst_PluginSystemMultimedia : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        KyVantaProxy::getInstance()->configDir = m_dir.filePath("config");
    }

    void init()
    {
        m_recorder = new RecordingMediaKeyService;
        MediaKeyService::setInstance(std::unique_ptr<MediaKeyService>(m_recorder));
    }

    void cleanup() { IconFileChooser::setHook({}); }

    void inputs_data()
    {
        QTest::addColumn<QJsonObject>("params");
        QTest::addColumn<int>("index");             // as stored
        QTest::addColumn<QStringList>("icons");     // "iconlist" as stored after init; empty: nothing loaded
        QTest::addColumn<QString>("faceImage");     // the image the inspector last gave the key
        QTest::addColumn<int>("reports");           // set-settings events during init
        QTest::addColumn<QList<int>>("keyTypes");   // pressed by a trigger
        QTest::addColumn<QString>("warning");

        const QStringList two{"/a.png", "/b.png", "", "", "", "", ""};
        // Once the list moves, the inspector's profile is stored: it fills in the defaults.
        const QStringList twoShown = QStringList{"/a.png", "/b.png"} + kDefaults.mid(2);
        QStringList seven;
        QJsonObject legacy{{"Title", "M"}, {"MultimediaIndex", 3}};
        for (int i = 0; i < 7; ++i) {
            seven << QString("/own%1.png").arg(i);
            legacy.insert(QString("ImagePath%1").arg(i), seven.last());
        }
        const QJsonObject base{{"version", 1}, {"titlelist", QJsonArray{"T"}}, {"iconlist", QJsonArray{"/a.png", "/b.png"}}};
        auto withIndex = [base](const QJsonValue& index) {
            QJsonObject p = base;
            p.insert("MultimediaIndex", index);
            return QJsonObject{{"payload", p}};
        };

        QTest::newRow("defaults") << QJsonObject{} << 0 << kDefaults << kDefaults[0] << 0 << QList<int>{16} << "";
        QTest::newRow("versioned, two images, next track") << withIndex(3) << 3 << twoShown << kDefaults[3] << 1
                                                           << QList<int>{17} << "";
        QTest::newRow("legacy") << QJsonObject{{"payload", legacy}} << 3 << seven << "/own3.png" << 1 << QList<int>{17} << "";
        QTest::newRow("preset keeps the default images")
            << QJsonObject{{"preset", QJsonObject{{"title", "P"}, {"index", 5}, {"icon", "/x.png"}}}} << 5 << kDefaults
            << kDefaults[5] << 1 << QList<int>{0} << "";
        QTest::newRow("index past the list") << withIndex(9) << 9 << two << "" << 0 << QList<int>{}
                                             << "MultimediaIndex 9 is outside 0 to 6";
        QTest::newRow("index as text") << withIndex("3") << 0 << two << "/a.png" << 0 << QList<int>{16}
                                       << "MultimediaIndex is not a whole number";
        QTest::newRow("version 2 loads nothing") << QJsonObject{{"payload", QJsonObject{{"version", 2}, {"MultimediaIndex", 4}}}}
                                                 << 0 << QStringList() << kDefaults[0] << 0 << QList<int>{16} << "unknown version";
    }

    void inputs()
    {
        QFETCH(QJsonObject, params);
        QFETCH(int, index);
        QFETCH(QStringList, icons);
        QFETCH(QString, faceImage);
        QFETCH(int, reports);
        QFETCH(QList<int>, keyTypes);
        QFETCH(QString, warning);

        Key key;
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));
        QVERIFY(key.action->init("k", params));
        QCOMPARE(key.sent.count(), reports);
        const QJsonObject stored = key.action->settingsJson();
        QCOMPARE(stored["iconlist"].toVariant().toStringList(), icons);
        QCOMPARE(stored["MultimediaIndex"].toInt(), index);
        QCOMPARE(stored["version"].toInt(), 1);
        QVERIFY(key.images.count() > 0);
        QCOMPARE(key.images.last().first().toString(), faceImage);
        // What the inspector previews: the stored images, the defaults where none is stored.
        for (int i = 0; i < 7; ++i)
            QCOMPARE(key.inspector->images().at(i), icons.value(i).isEmpty() ? kDefaults[i] : icons[i]);

        const QJsonObject kept{{"host", "kept"}};
        QCOMPARE(answer(*key.action, TovKyPluginEventType::kAppTriggeredEvent, kept), kept);
        QCOMPARE(pressedKeyTypes(*m_recorder), keyTypes);
        QCOMPARE(m_recorder->records().size(), 2 * keyTypes.size());  // each key down, then up
    }

    void userPicksEntry_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("pick");
        QTest::addColumn<int>("keyType");
        QTest::newRow("next track") << 0 << 3 << 17;
        QTest::newRow("volume down") << 0 << 6 << 1;
        QTest::newRow("stop is play/pause") << 2 << 1 << 16;
    }

    // One pick: the entry's image reaches the key, the selection the action, and the host
    // hears of it exactly once. A title typed after it is reported keystroke by keystroke.
    void userPicksEntry()
    {
        QFETCH(int, from);
        QFETCH(int, pick);
        QFETCH(int, keyType);

        Key key;
        QVERIFY(key.action->init("k", v1({{"MultimediaIndex", from}})));
        QVERIFY(key.show());
        key.sent.clear();
        key.images.clear();
        pickInList(key.inspector, pick);
        QCOMPARE(key.sent.count(), 1);
        QCOMPARE(lastPayload(key.sent)["MultimediaIndex"].toInt(), pick);
        QCOMPARE(key.images.last().first().toString(), kDefaults[pick]);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(key.inspector->findChild<QLabel*>(QString("imgPluginImage%1").arg(i))->isVisible(), i == pick);

        key.action->onAppTriggeredEvent({});
        QCOMPARE(pressedKeyTypes(*m_recorder), QList<int>{keyType});

        auto* edit = key.inspector->findChild<QLineEdit*>("txtEditPluginTitle");
        edit->selectAll();
        QTest::keyClicks(edit, "Go");
        QCOMPARE(key.sent.count(), 3);
        QCOMPARE(lastPayload(key.sent)["titlelist"].toArray(), QJsonArray{"Go"});
        QCOMPARE(key.inspector->findChild<QLabel*>("lblPluginImageText")->text(), QStringLiteral("Go"));
    }

    // The user gives next track a picture of their own: it is reported for that entry, and
    // a key made again from the stored settings shows it.
    void ownImageSurvivesRestart()
    {
        const QString png = m_dir.filePath("own.png");
        QVERIFY(TestPictures::gradient(QSize(300, 200)).save(png));
        QJsonObject stored;
        {
            Key key;
            QVERIFY(key.action->init("k", v1({{"MultimediaIndex", 3}})));
            QVERIFY(key.show());
            key.sent.clear();
            IconFileChooser::setHook([png](QWidget*, const QString&, const QString&, const QString&) {
                whenModal<DialogIconBuilder>([](DialogIconBuilder* d) { d->findChild<QPushButton*>("btnOk")->click(); });
                return png;
            });
            whenModal<DialogIconEditMenu>([](DialogIconEditMenu* d) { d->findChild<QPushButton*>("btnLocalDisk")->click(); });
            key.inspector->findChild<QPushButton*>("btnPluginImageEdit")->click();
            QCOMPARE(key.sent.count(), 1);
            stored = lastPayload(key.sent);
        }
        const QString own = stored["iconlist"].toArray().at(3).toString();
        QVERIFY2(own.startsWith(KyVantaProxy::getInstance()->configDir), qPrintable(own));
        QCOMPARE(stored["iconlist"].toArray().size(), 7);

        Key again;
        QVERIFY(again.action->init("k", QJsonObject{{"payload", stored}}));
        QCOMPARE(again.images.last().first().toString(), own);
        QVERIFY(!again.inspector->findChild<QLabel*>("imgPluginImage3")->pixmap().isNull());
    }

private:
    struct Key
    {
        std::unique_ptr<PluginSystemMultimedia> action = std::make_unique<PluginSystemMultimedia>();
        WidgetPluginSystemMultimedia* inspector = static_cast<WidgetPluginSystemMultimedia*>(action->propertyWidget());
        QSignalSpy sent{action.get(), &KYPlugin::eventSent};
        QSignalSpy images{inspector, &WidgetPluginSystemMultimedia::imageDidChange};
        bool show()
        {
            inspector->show();
            return QTest::qWaitForWindowExposed(inspector);
        }
    };

    // Opens the list and clicks the entry, as a user does.
    void pickInList(WidgetPluginSystemMultimedia* inspector, int index)
    {
        auto* list = inspector->findChild<QComboBox*>("cbMultimediaList");
        list->showPopup();
        QAbstractItemView* view = list->view();
        QTRY_VERIFY(view->isVisible());
        const QRect item = view->visualRect(view->model()->index(index, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
        QTRY_VERIFY(!view->isVisible());
    }

    QTemporaryDir m_dir;
    RecordingMediaKeyService* m_recorder = nullptr;
};

QTEST_MAIN(tst_PluginSystemMultimedia)
#include "tst_pluginsystemmultimedia.moc"
