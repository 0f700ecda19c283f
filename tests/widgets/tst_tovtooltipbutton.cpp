// Tool-tip reports: posted to the application, at most once per hover.
#include "widgets/tovtooltipbutton.h"
#include "widgets/tovtooltipevent.h"

#include <QEnterEvent>
#include <QHelpEvent>
#include <QtTest>

namespace {

// Catches every tool-tip report that reaches the application object.
class ReportCatcher : public QObject
{
public:
    QList<QPair<QString, QString>> reports;  // event name, label

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::Type(3417)) {
            auto* report = static_cast<TovTooltipEvent*>(event);
            reports.append({report->eventName(), report->label()});
        }
        return false;
    }
};

} // namespace

class tst_TovTooltipButton : public QObject
{
    Q_OBJECT

private slots:
    void reports_data();
    void reports();
};

void tst_TovTooltipButton::reports_data()
{
    QTest::addColumn<QString>("events");  // E enter, L leave, T tool tip
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("expected");

    QTest::newRow("twice in one hover") << "ETT" << "bold" << 1;
    QTest::newRow("leave and re-enter") << "ETLET" << "bold" << 2;
    QTest::newRow("enter again without leaving") << "ETET" << "bold" << 2;
    QTest::newRow("tool tip before any enter") << "TTLT" << "bold" << 2;
    QTest::newRow("no label property") << "ET" << QString() << 1;
}

void tst_TovTooltipButton::reports()
{
    QFETCH(QString, events);
    QFETCH(QString, label);
    QFETCH(int, expected);

    TovTooltipButton button;
    button.resize(24, 24);
    button.setToolTip(QStringLiteral("tip"));
    if (!label.isNull())
        button.setProperty("gaV4Lab", label);
    ReportCatcher catcher;
    qApp->installEventFilter(&catcher);

    const QPointF inside(5, 5);
    for (const QChar e : events) {
        if (e == QLatin1Char('E')) {
            QEnterEvent enter(inside, inside, button.mapToGlobal(inside));
            QCoreApplication::sendEvent(&button, &enter);
        } else if (e == QLatin1Char('L')) {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(&button, &leave);
        } else {
            QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), button.mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(&button, &tip);
        }
    }
    QCOMPARE(catcher.reports.size(), 0);  // posted, not sent
    QCoreApplication::sendPostedEvents(qApp, 0);

    QCOMPARE(catcher.reports.size(), expected);
    for (const auto& report : catcher.reports) {
        QCOMPARE(report.first, QStringLiteral("Tooltip"));
        QCOMPARE(report.second, label.isNull() ? QString("") : label);
    }
    qApp->removeEventFilter(&catcher);
}

QTEST_MAIN(tst_TovTooltipButton)
#include "tst_tovtooltipbutton.moc"
