// The knob inspector: the state panel's buttons, the preview ring and the colour picker,
// driven by mouse and keys.
#include "widgets/baseknobpropertywidget.h"
#include "widgets/baseknobstatewidget.h"
#include "widgets/selectcolorwidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// How far the pixel at `degrees` (0 at three o'clock, counter-clockwise) on a circle is
// from `ink`. The skin lies over the ring with a faint white track: near is under 60,
// far over 150.
int distance(const QImage& image, QPointF centre, double radius, int degrees, const QColor& ink)
{
    const double a = qDegreesToRadians(double(degrees));
    const QColor c = image.pixelColor(qRound(centre.x() + radius * std::cos(a)), qRound(centre.y() - radius * std::sin(a)));
    return qAbs(c.red() - ink.red()) + qAbs(c.green() - ink.green()) + qAbs(c.blue() - ink.blue());
}

} // namespace

class tst_KnobWidgets : public QObject
{
    Q_OBJECT
private slots:
    // Six buttons in a row from the right edge, all in the panel; then a user's state
    // change: the state's icon and title show, and a title typed in is reported for it.
    void stateButtons()
    {
        const int states = 6;
        QTemporaryDir dir;
        QList<QString> names, icons, titles;
        for (int i = 0; i < states; ++i) {
            names << QString("state %1").arg(i);
            titles << QString("title %1").arg(i);
            icons << dir.filePath(QString("%1.png").arg(i));
            QImage icon(20, 20, QImage::Format_RGB32);
            icon.fill(QColor(10 * i, 0, 0));
            QVERIFY(icon.save(icons.last()));
        }
        BaseKnobPropertyWidget inspector;
        inspector.show();
        QVERIFY(QTest::qWaitForWindowExposed(&inspector));
        QSignalSpy stateChanged(&inspector, &BaseKnobPropertyWidget::stateIndexChanged);
        QSignalSpy titleChanged(&inspector, &BaseKnobPropertyWidget::knobTitleChanged);
        inspector.generateButtonsByStateNames(names);
        inspector.setKnobIconList(icons);
        inspector.setKnobTitleList(titles);

        auto* panel = inspector.findChild<BaseKnobStateWidget*>();
        QList<QPushButton*> buttons = panel->findChildren<QPushButton*>(QRegularExpression("^$"));
        QCOMPARE(panel->totalButtonNum(), states);
        QCOMPARE(stateChanged.count(), 0);  // the first state is chosen, not picked
        auto* edit = inspector.findChild<QLineEdit*>("lineEdtPluginTitle");
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() > b->x(); });
        QVERIFY(buttons.first()->isChecked() && panel->rect().contains(buttons.last()->geometry()));
        QCOMPARE(edit->text(), QStringLiteral("title 0"));

        QTest::mouseClick(buttons.at(1), Qt::LeftButton);
        QCOMPARE(stateChanged, QList<QVariantList>{{1}});
        QCOMPARE(inspector.getCurrentIcon(), icons.at(1));
        QCOMPARE(edit->text(), QStringLiteral("title 1"));
        QCOMPARE(titleChanged.count(), 0);  // showing a title is no edit

        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, "Hi");
        QCOMPARE(titleChanged.count(), 2);
        QCOMPARE(titleChanged.last(), QVariantList({1, QStringLiteral("Hi")}));
        QCOMPARE(panel->findChild<QLabel*>("lblImageText")->text(), QStringLiteral("Hi"));
    }

    // The preview ring follows the colour set by code, which checks its swatch and reports
    // nothing; "transparent" hides the ring but keeps the colour. A colour of no swatch
    // leaves the picker as it was.
    void previewRing()
    {
        BaseKnobPropertyWidget inspector;
        QSignalSpy reported(&inspector, &BaseKnobPropertyWidget::knobColorSelected);
        auto* preview = inspector.findChild<BaseKnobStateWidget*>()->findChild<QLabel*>("lblBackground");
        const QColor orange(255, 125, 0);
        inspector.setKnobColor(orange);
        QVERIFY(inspector.findChild<QPushButton*>("btnColor_02")->isChecked());
        const auto ringAt = [&](int angle) { return distance(preview->pixmap().toImage(), {55, 55}, 37, angle, orange); };
        for (int angle : {180, 90, 0})
            QVERIFY2(ringAt(angle) < 60, qPrintable(QString::number(angle)));
        QVERIFY(ringAt(270) > 150);

        inspector.showKnobColorTransparent();
        QVERIFY(ringAt(180) > 150);
        QCOMPARE(inspector.knobColor(), orange);
        inspector.showKnobColor();
        QVERIFY(ringAt(180) < 60);

        auto* picker = inspector.findChild<SelectColorWidget*>();
        picker->selectTargetColor(QColor(1, 2, 3));
        QVERIFY(inspector.findChild<QPushButton*>("btnColor_02")->isChecked());
        QCOMPARE(reported.count(), 0);

        // A click on the last swatch: the inspector keeps and reports its colour, and the
        // swatch under the button shows it.
        const QColor pink(255, 125, 255);
        auto* swatch = picker->findChild<QPushButton*>("btnColor_10");
        QTest::mouseClick(swatch, Qt::LeftButton);
        QCOMPARE(reported.count(), 1);
        QCOMPARE(reported.first().first().value<QColor>(), pink);
        QVERIFY(swatch->isChecked());
        QCOMPARE(picker->grab().toImage().pixelColor(swatch->geometry().center()), pink);
    }
};

QTEST_MAIN(tst_KnobWidgets)
#include "tst_knobwidgets.moc"
