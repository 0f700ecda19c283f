// The focused-window signal as the watcher gives it, whatever the window system: a moment
// with no focused window between two windows is not said; one that lasts is, once.
#include "platform/windowcontrol/focuswatcher.h"
#include "platform/windowcontrol/windowbackend.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Hands on what the test says the window system reported.
class ReportingBackend final : public WindowBackend
{
public:
    explicit ReportingBackend(FocusListener* listener) : m_listener(listener) {}
    QString name() const override { return QStringLiteral("reporting"); }
    QList<Window> enumerate() override { return {}; }
    bool setSize(int, const QSize&) override { return false; }
    bool setPosition(int, const QPoint&) override { return false; }
    bool close(int) override { return false; }
    bool maximize(int) override { return false; }
    bool minimize(int) override { return false; }
    bool watchFocus(FocusListener listener) override
    {
        *m_listener = std::move(listener);
        return true;
    }

private:
    FocusListener* m_listener;
};

} // namespace

class tst_FocusWatcher : public QObject
{
    Q_OBJECT
private slots:
    void signal_data()
    {
        QTest::addColumn<QStringList>("reports");  // titles; "" no window; "wait" lets 200 ms pass
        QTest::addColumn<QStringList>("said");

        QTest::newRow("from one window to another through none")
            << QStringList{"Left", "", "Right", "wait"} << QStringList{"Left", "Right"};
        QTest::newRow("through none and back") << QStringList{"Left", "", "Left", "wait"} << QStringList{"Left"};
        QTest::newRow("none that lasts") << QStringList{"Left", "", "wait", "Right"}
                                         << QStringList{"Left", "", "Right"};
        QTest::newRow("none, then a window while it waits")
            << QStringList{"Left", "", "", "Right", "wait"} << QStringList{"Left", "Right"};
        QTest::newRow("the same window twice: once") << QStringList{"Left", "Left"} << QStringList{"Left"};
        QTest::newRow("none to begin with: nothing to say") << QStringList{"", "wait"} << QStringList{};
    }

    void signal()
    {
        QFETCH(QStringList, reports);
        QFETCH(QStringList, said);

        WindowBackend::FocusListener report;
        FocusWatcher watcher(std::make_unique<ReportingBackend>(&report));
        QVERIFY(watcher.isWatching() && report);
        QSignalSpy spy(&watcher, &FocusWatcher::activeWindowChanged);
        for (const QString& title : std::as_const(reports)) {
            if (title == QLatin1String("wait"))
                QTest::qWait(200);
            else
                report(title.isEmpty() ? FocusedWindow() : FocusedWindow{title, QStringLiteral("prog"), QStringLiteral("app")});
        }
        QStringList seen;
        for (const QList<QVariant>& arguments : std::as_const(spy))
            seen << arguments.at(0).toString();
        QCOMPARE(seen, said);
    }
};

QTEST_GUILESS_MAIN(tst_FocusWatcher)
#include "tst_focuswatcher.moc"
