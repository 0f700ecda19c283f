// Multi-action keys in the host's window, on the real package library: a run in
// order without holding the GUI thread, every action's inspector as a step, the
// step list's edits with undo, and steps that cannot be loaded kept as they were.
#include "categorylist.h"
#include "deck.h"
#include "deckbus.h"
#include "hostsession.h"
#include "hostsessions.h"
#include "keycell.h"
#include "mainwindow.h"
#include "multiaction.h"
#include "multiactioneditor.h"
#include "steplist.h"
#include "testfiles.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMimeData>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kOpenUrl = QStringLiteral("com.corvane.system.openurl");
const QString kOpenApp = QStringLiteral("com.corvane.system.openapp");
const QString kHotkey = QStringLiteral("com.corvane.system.hotkey");
const QString kText = QStringLiteral("com.corvane.system.text");
const QString kMedia = QStringLiteral("com.corvane.system.multimedia");
const QString kWindow = QStringLiteral("com.corvane.system.windowscontrol");

QJsonObject action(const QString& category, const QString& target, const QJsonObject& payload = {})
{
    QJsonObject step{{"category", category}, {"target", target}};
    if (!payload.isEmpty())
        step.insert("payload", payload);
    return step;
}

QJsonObject multiKey(int slot, const QJsonArray& steps)
{
    return {{"slot", slot}, {"category", MultiAction::kCategory}, {"target", QStringLiteral("m%1").arg(slot)},
            {"title", "Deploy"}, {"steps", steps}};
}

// Hotkey, 200 ms, text: the run of the brief's example.
QJsonArray threeSteps()
{
    return {action(kHotkey, "s1", {{"version", 1}, {"SendHotkey", "Ctrl+Shift+A"}}), 200,
            action(kText, "s2", {{"version", 1}, {"SendText", "hi"}})};
}

// The steps as "hotkey,200,text": an action by the last part of its category, a delay by its number.
QString shape(const QJsonObject& entry)
{
    QStringList parts;
    for (const QJsonValue& step : entry.value("steps").toArray())
        parts << (step.isDouble() ? QString::number(step.toInt()) : step["category"].toString().section('.', -1));
    return parts.join(',');
}

// A drag from outside the list (the action list) or from the list itself, dropped at `pos`.
void dropOn(QWidget* viewport, const QPoint& pos, const char* mime, const QByteArray& data)
{
    QMimeData mimeData;
    mimeData.setData(QLatin1String(mime), data);
    QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, &mimeData, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(pos, Qt::CopyAction | Qt::MoveAction, &mimeData, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(pos), Qt::CopyAction | Qt::MoveAction, &mimeData, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
}
} // namespace

class tst_MultiAction : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        m_window.reset();
        m_session.reset();
    }

    // Pressed from the window (through the press gate): the steps run in order, the
    // delay keeps at least its time between them, the event loop runs all along, the
    // face shows the run, and a press meanwhile is refused with the reason.
    void runsInOrderWithoutHoldingTheWindow()
    {
        MainWindow& window = open(profileBytes({multiKey(0, threeSteps())}));
        Deck& deck = m_session->deck();
        MultiAction* multi = deck.multiAction(0);
        QVERIFY(multi);
        QCOMPARE(multi->problems(), QStringList());
        QElapsedTimer clock;
        clock.start();
        QList<qint64> started(3, -1);
        QList<qint64> finished(3, -1);
        QList<int> order;
        QImage runningFace;
        connect(multi, &MultiAction::stepStarted, this, [&](int step) {
            started[step] = clock.elapsed();
            if (step == 1)
                runningFace = multi->face()->grab().toImage();
        });
        connect(multi, &MultiAction::stepFinished, this, [&](int step) {
            finished[step] = clock.elapsed();
            order << step;
        });
        // The GUI thread's heartbeat: a 5 ms timer and its ticks.
        QList<qint64> beats;
        QTimer heartbeat;
        heartbeat.setTimerType(Qt::PreciseTimer);
        connect(&heartbeat, &QTimer::timeout, this, [&] { beats << clock.elapsed(); });
        QSignalSpy done(&deck, &Deck::runFinished);
        const QImage idleFace = multi->face()->grab().toImage();
        window.select(0);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();  // the window's first paint is not the run's

        heartbeat.start(5);
        auto* test = window.findChild<QAbstractButton*>("testKey");
        test->click();
        QTRY_VERIFY(deck.isRunning(0));
        test->click();
        QTRY_VERIFY2(window.statusBar()->currentMessage().contains("still running"),
                     qPrintable(window.statusBar()->currentMessage()));
        DeckBus bus(*m_session, window.pressGate());
        QVERIFY(bus.Press(0, -1).contains("still running"));
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        heartbeat.stop();

        QCOMPARE(order, QList<int>({0, 1, 2}));  // each step once: the refused presses ran nothing
        QVERIFY2(finished[1] - started[1] >= 200, qPrintable(QStringLiteral("%1 ms").arg(finished[1] - started[1])));
        QVERIFY(done.first().at(1).toLongLong() >= 200);
        // A delay that slept would let no tick through between the two steps.
        const qsizetype ticksInDelay =
            std::count_if(beats.cbegin(), beats.cend(), [&](qint64 at) { return at > finished[0] && at < started[2]; });
        QVERIFY2(ticksInDelay > 0, "the delay held the event loop");
        QVERIFY(runningFace != idleFace);
        QCOMPARE(multi->face()->grab().toImage(), idleFace);  // released and idle again
        QVERIFY(!window.cell(0)->isDown());
    }

    // Each action as a step: its inspector, shown below the deck, has the title locked
    // and the icon and title-text buttons hidden (or disabled), while the action's own
    // field stays editable; the same action as a key of its own has them all.
    void inspectorsInActionMode_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("locked");  // buttons hidden or disabled in a step
        QTest::addColumn<QString>("own");         // a field of the action's own that stays usable
        const QStringList kit{"btnSelect", "btnTextEdit"};
        const QStringList drawn{"btnPluginImageEdit", "btnTextEdit"};
        QTest::newRow("Open URL") << kOpenUrl << "lineEdtPluginTitle" << kit << "txtEditPluginURL";
        QTest::newRow("Open App/File") << kOpenApp << "txtEditPluginTitle" << drawn << "btnPluginOpenFile";
        QTest::newRow("Input Text") << kText << "lineEdtPluginTitle" << kit << "plainTextEditPluginInputText";
        QTest::newRow("Input Hotkey") << kHotkey << "lineEdtPluginTitle" << kit << "txtEditPluginInputHotkey";
        QTest::newRow("System Multimedia") << kMedia << "txtEditPluginTitle" << drawn << "cbMultimediaList";
        QTest::newRow("Windows Control") << kWindow << "lineEdtPluginTitle" << kit << "comboBoxAction";
    }

    void inspectorsInActionMode()
    {
        QFETCH(QString, category);
        QFETCH(QString, title);
        QFETCH(QStringList, locked);
        QFETCH(QString, own);
        QJsonObject single = action(category, "k1");
        single.insert("slot", 1);
        MainWindow& window = open(profileBytes({multiKey(0, {action(category, "s1")}), single}));
        for (const bool step : {false, true}) {
            window.select(step ? 0 : 1);
            QWidget* inspector = window.shownInspector();
            QVERIFY(inspector);
            QVERIFY(inspector->isVisible());
            if (step)
                QCOMPARE(inspector, m_session->deck().multiAction(0)->step(0).action->propertyWidget());
            auto* titleEdit = inspector->findChild<QLineEdit*>(title);
            QVERIFY(titleEdit);
            QCOMPARE(titleEdit->isReadOnly(), step);
            for (const QString& name : locked) {
                auto* button = inspector->findChild<QAbstractButton*>(name);
                QVERIFY2(button, qPrintable(name));
                QCOMPARE(button->isVisibleTo(inspector) && button->isEnabled(), !step);
            }
            QWidget* field = inspector->findChild<QWidget*>(own);
            QVERIFY2(field, qPrintable(own));
            QVERIFY(field->isVisibleTo(inspector) && field->isEnabled() && !field->property("readOnly").toBool());
        }
    }

    // Each edit of the step list is one undoable change of the stored key.
    void editsUndoAndRedo_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("steps");  // after the edit; before it "hotkey,200,text"
        QTest::addColumn<int>("selected");   // the step selected after the edit
        QTest::newRow("add with the button") << "button" << "hotkey,200,text,multimedia" << 3;
        QTest::newRow("add delay") << "delay" << "hotkey,500,200,text" << 1;
        QTest::newRow("remove") << "remove" << "hotkey,text" << 1;
        QTest::newRow("change delay") << "set delay" << "hotkey,750,text" << 1;
        QTest::newRow("drop an action on the list") << "drop action" << "windowscontrol,hotkey,200,text" << 0;
        QTest::newRow("drag a step up") << "drag up" << "text,hotkey,200" << 0;
        QTest::newRow("drag a step down") << "drag down" << "200,text,hotkey" << 2;
        QTest::newRow("rename") << "rename" << "hotkey,200,text" << 0;
    }

    void editsUndoAndRedo()
    {
        QFETCH(QString, edit);
        QFETCH(QString, steps);
        QFETCH(int, selected);
        MainWindow& window = open(profileBytes({multiKey(0, threeSteps())}));
        window.select(0);
        MultiActionEditor& editor = window.multiActionEditor();
        QVERIFY(editor.isVisible());
        const QJsonObject before = m_session->deck().entry(0);
        auto* list = editor.findChild<StepList*>("multiSteps");
        auto gap = [list](int row, bool below) {
            const QRect rect = list->visualRect(list->model()->index(row, 0));
            return below ? QPoint(rect.center().x(), rect.bottom() - 1) : QPoint(rect.center().x(), rect.top() + 1);
        };
        if (edit == QLatin1String("button")) {
            auto* actions = window.findChild<CategoryList*>();
            actions->setCurrentRow(3);  // the action list in the package's order: multimedia
            editor.selectStep(2);
            editor.findChild<QAbstractButton*>("addStep")->click();
        } else if (edit == QLatin1String("delay")) {
            editor.findChild<QAbstractButton*>("addDelay")->click();
        } else if (edit == QLatin1String("remove")) {
            editor.selectStep(1);
            editor.findChild<QAbstractButton*>("removeStep")->click();
        } else if (edit == QLatin1String("set delay")) {
            editor.selectStep(1);
            auto* delay = editor.findChild<QSpinBox*>("delayMs");
            QVERIFY(delay->isEnabled());
            delay->setValue(750);
        } else if (edit == QLatin1String("drop action")) {
            dropOn(list->viewport(), gap(0, false), KeyCell::kCategoryMime, kWindow.toUtf8());
        } else if (edit == QLatin1String("drag up")) {
            dropOn(list->viewport(), gap(0, false), StepList::kStepMime, "2");
        } else if (edit == QLatin1String("drag down")) {
            dropOn(list->viewport(), gap(2, true), StepList::kStepMime, "0");
        } else {
            auto* title = editor.findChild<QLineEdit*>("multiTitle");
            title->selectAll();
            QTest::keyClicks(title, "Build");
            QTest::keyClick(title, Qt::Key_Return);
        }
        QTRY_COMPARE(shape(storedKey(0)), steps);
        QCOMPARE(window.undoStack().count(), 1);
        QCOMPARE(storedKey(0)["title"].toString(), QLatin1String(edit == QLatin1String("rename") ? "Build" : "Deploy"));
        QCOMPARE(window.multiActionEditor().currentStep(), selected);
        QCOMPARE(window.shownInspector() != nullptr, m_session->deck().multiAction(0)->step(selected).action != nullptr);
        const QJsonObject after = storedKey(0);
        window.undoStack().undo();
        QCOMPARE(storedKey(0), before);
        window.undoStack().redo();
        QCOMPARE(storedKey(0), after);
    }

    // What the list refuses: a multi-action inside another, a step that is no action.
    void refusedEdits_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("message");
        QTest::newRow("nested") << QString::fromLatin1(MultiAction::kCategory) << "cannot hold another multi-action";
        QTest::newRow("unknown") << "com.example.none" << "\"com.example.none\" is no action of the package";
    }

    void refusedEdits()
    {
        QFETCH(QString, category);
        QFETCH(QString, message);
        MainWindow& window = open(profileBytes({multiKey(0, threeSteps())}));
        window.select(0);
        auto* list = window.multiActionEditor().findChild<StepList*>("multiSteps");
        dropOn(list->viewport(), QPoint(5, 5), KeyCell::kCategoryMime, category.toUtf8());
        QTRY_VERIFY2(window.statusBar()->currentMessage().contains(message), qPrintable(window.statusBar()->currentMessage()));
        QCOMPARE(window.undoStack().count(), 0);
        QCOMPARE(shape(m_session->deck().entry(0)), QStringLiteral("hotkey,200,text"));
    }

    // A pasted multi-action is a key of its own, and so is each of its steps: new
    // targets everywhere, the rest as copied, the original untouched.
    void pastedKeyHasItsOwnTargets()
    {
        const QJsonObject original = multiKey(0, threeSteps());
        MainWindow& window = open(profileBytes({original}));
        window.select(0);
        window.copySelected();
        window.select(6);
        window.pasteToSelected();
        const QJsonObject copy = storedKey(6);
        QCOMPARE(shape(copy), shape(original));
        QCOMPARE(storedKey(0), original);
        QSet<QString> targets{copy["target"].toString()};
        for (const QJsonValue& step : copy["steps"].toArray()) {
            if (step.isObject())
                targets << step["target"].toString();
        }
        QCOMPARE(targets.size(), 3);
        for (const QString& used : {QStringLiteral("m0"), QStringLiteral("s1"), QStringLiteral("s2")})
            QVERIFY(!targets.contains(used));
        QCOMPARE(copy["steps"][0]["payload"], original["steps"][0]["payload"]);
        QVERIFY(m_session->deck().multiAction(6));
    }

    // A step's inspector edits its own settings: stored in its place in the key, shown
    // in the step's line.
    void stepSettingsAreStored()
    {
        MainWindow& window = open(profileBytes({multiKey(0, {200, action(kOpenUrl, "s1", {{"version", 1}, {"Url", "https://a.example"}})})}));
        window.select(0);
        window.multiActionEditor().selectStep(1);
        auto* url = window.shownInspector()->findChild<QLineEdit*>("txtEditPluginURL");
        QVERIFY(url);
        url->selectAll();
        QTest::keyClicks(url, "https://b.example");
        const QJsonObject stored = storedKey(0);
        QCOMPARE(stored["steps"][1]["payload"]["Url"].toString(), QStringLiteral("https://b.example"));
        QCOMPARE(stored["steps"][1]["target"].toString(), QStringLiteral("s1"));
        QCOMPARE(stored["steps"][0], QJsonValue(200));
        const QString line = window.multiActionEditor().findChild<StepList*>("multiSteps")->item(1)->text();
        QVERIFY2(line.contains("Url: https://b.example"), qPrintable(line));
        QCOMPARE(window.multiActionEditor().currentStep(), 1);
    }

    // Steps the host cannot load stay in the key as they were, through a run, another
    // key's edit and a rename; the window says which; the run skips them.
    void unloadableStepsAreKept()
    {
        const QJsonArray steps{action(kHotkey, "s1"),
                               action("com.example.gone", "s2", {{"version", 1}, {"x", 1}}),
                               -5,
                               "junk",
                               QJsonObject{{"category", kText}},
                               action(kText, "s3", {{"version", 1}, {"SendText", "ok"}})};
        const QJsonObject key = multiKey(0, steps);
        MainWindow& window = open(profileBytes({key}));
        for (const char* step : {"step 2: the package has no action", "step 3: a delay", "step 4: it is neither", "step 5: the entry has no"})
            QVERIFY2(window.bannerText().contains(QLatin1String(step)), qPrintable(window.bannerText()));
        window.select(0);
        QVERIFY(window.multiActionEditor().stepText(1).contains("cannot run"));
        window.multiActionEditor().selectStep(1);
        QVERIFY2(window.inspectorHint().contains("skipped"), qPrintable(window.inspectorHint()));

        Deck& deck = m_session->deck();
        QSignalSpy failed(&deck, &Deck::runStepFailed);
        QSignalSpy finished(&deck, &Deck::runStepFinished);
        QSignalSpy done(&deck, &Deck::runFinished);
        QString error;
        QVERIFY(deck.press(0, &error));
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
        QCOMPARE(finished.count(), 6);
        QCOMPARE(failed.count(), 4);

        window.assign(3, kOpenUrl);  // the profile is written
        const QByteArray original = QJsonDocument(key).toJson(QJsonDocument::Compact);
        QCOMPARE(QJsonDocument(storedKey(0)).toJson(QJsonDocument::Compact), original);
        window.select(0);
        window.multiActionEditor().setTitle("Other");
        QCOMPARE(storedKey(0)["steps"].toArray(), steps);
        QCOMPARE(TestFiles::read(m_dir->filePath("profile.json.bad")), profileBytes({key}));
    }

    // The face the host draws: the key's icon whatever its pixel format, or without one
    // the mark alone; a picture that cannot be read draws no icon.
    void faceShowsTheIcon_data()
    {
        QTest::addColumn<QByteArray>("png");  // empty: no file
        // 200 x 200 steel blue as picture tools write a picture of one colour: a one-bit
        // palette (scaled down from that format as it is, it came out as noise).
        QTest::newRow("one-bit palette") << QByteArray::fromBase64(
            "iVBORw0KGgoAAAANSUhEUgAAAMgAAADIAQMAAACXljzdAAAAA1BMVEVGgrQW1EH0AAAAHElEQVRYw+3BgQAAAADDoPlTX+EAVQEAAAAAfAYUUAABAJ8jFQAAAABJRU5ErkJggg==");
        QImage rgb(200, 200, QImage::Format_RGB32);
        rgb.fill(QColor(70, 130, 180));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        rgb.save(&buffer, "PNG");
        QTest::newRow("rgb") << buffer.data();
        QTest::newRow("no such file") << QByteArray();
    }

    void faceShowsTheIcon()
    {
        QFETCH(QByteArray, png);
        const QString path = m_dir->filePath("icon.png");
        if (!png.isEmpty())
            QVERIFY(TestFiles::write(path, png));
        QJsonObject key = multiKey(0, {200});
        key.insert("icon", path);
        open(profileBytes({key}));
        const QImage face = m_session->deck().face(0)->grab().toImage();
        QCOMPARE(face.pixel(75, 40) == qRgb(70, 130, 180), !png.isEmpty());
    }

private:
    MainWindow& open(const QByteArray& profile)
    {
        QStringList problems;
        m_session = startedSession(m_dir->path(), &problems, profile);
        m_window = std::make_unique<MainWindow>(*m_session);
        m_window->showProblems(problems);
        m_window->setConfirmReplace(false);
        m_window->show();
        return *m_window;
    }

    QJsonObject storedKey(int slot) const
    {
        for (const QJsonValue& key : storedKeys(*m_session, m_dir->path())) {
            if (key["slot"].toInt() == slot)
                return key.toObject();
        }
        return {};
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HostSession> m_session;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(tst_MultiAction)
#include "tst_multiaction.moc"
