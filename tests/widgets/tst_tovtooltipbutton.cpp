// Tool-tip reports: posted to the application, at most once per hover.
#include "widgets/tovtooltipbutton.h"
#include "widgets/tovtooltipevent.h"

#include <QEnterEvent>
#include <QHelpEvent>
#include <QtTest>

class tst_TovTooltipButton : public QObject
{
    Q_OBJECT
private slots:
    void reports_data();
    void reports();

private:
    // Every tool-tip report that reaches the application object, as (event name, label).
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == qApp && event->type() == QEvent::Type(3417))
            m_reports.append({static_cast<TovTooltipEvent*>(event)->eventName(),
                              static_cast<TovTooltipEvent*>(event)->label()});
        return false;
    }
    QList<QPair<QString, QString>> m_reports;
};

void tst_TovTooltipButton::reports_data()
{
    QTest::addColumn<QString>("events");  // E enter, L leave, T tool tip
    QTest::addColumn<int>("expected");
    QTest::newRow("twice in one hover") << "ETT" << 1;
    QTest::newRow("leave and re-enter") << "ETLET" << 2;
    QTest::newRow("enter again without leaving") << "ETET" << 2;
    QTest::newRow("tool tip before any enter") << "TTLT" << 2;
}

void tst_TovTooltipButton::reports()
{
    QFETCH(QString, events);
    QFETCH(int, expected);

    TovTooltipButton button;
    button.setProperty("gaV4Lab", QStringLiteral("bold"));
    m_reports.clear();
    qApp->installEventFilter(this);
    const QPoint at(5, 5);
    for (const QChar e : events) {
        QEnterEvent enter(at, at, button.mapToGlobal(at));
        QEvent leave(QEvent::Leave);
        QHelpEvent tip(QEvent::ToolTip, at, button.mapToGlobal(at));
        QCoreApplication::sendEvent(&button, e == 'E' ? static_cast<QEvent*>(&enter) : e == 'L' ? &leave : &tip);
    }
    QCOMPARE(m_reports.size(), 0);  // posted, not sent
    QCoreApplication::sendPostedEvents(qApp, 0);
    qApp->removeEventFilter(this);
    QCOMPARE(m_reports, decltype(m_reports)(expected, {QStringLiteral("Tooltip"), QStringLiteral("bold")}));
}

QTEST_MAIN(tst_TovTooltipButton)
#include "tst_tovtooltipbutton.moc"
