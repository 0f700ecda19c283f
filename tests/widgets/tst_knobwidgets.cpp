// The knob kit: the ring as painted, the colour picker and its signal through the knob
// inspector, the state panel's buttons and the preview ring, driven by mouse and keys.
#include "widgets/baseknob.h"
#include "widgets/baseknobpropertywidget.h"
#include "widgets/baseknobstatewidget.h"
#include "widgets/selectcolorwidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtMath>
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
    void ring_data();
    void ring();
    void pickerColours_data();
    void pickerColours();
    void stateButtons_data();
    void stateButtons();
    void previewRing();
};

void tst_KnobWidgets::ring_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<QColor>("color");  // invalid: the default
    QTest::addColumn<int>("arc");
    QTest::addColumn<QList<int>>("lit");   // angles on the ring in the knob colour
    QTest::addColumn<QList<int>>("dark");  // and not

    QTest::newRow("defaults: no arc") << 0 << 100 << 0 << QColor() << 0 << QList<int>{} << QList<int>{200, 100, 30};
    QTest::newRow("half, red") << 0 << 100 << 50 << QColor(Qt::red) << 135 << QList<int>{220, 180, 100}
                               << QList<int>{80, 30, 300};
    QTest::newRow("full, green") << 0 << 100 << 100 << QColor(Qt::green) << 270 << QList<int>{220, 100, 0, -40}
                                 << QList<int>{270};
    QTest::newRow("33 of 100, blue") << 0 << 100 << 33 << QColor(0, 0, 255) << 89 << QList<int>{210, 145}
                                     << QList<int>{125, 30};
    QTest::newRow("15 of 10..20, default colour") << 10 << 20 << 15 << QColor() << 135 << QList<int>{200, 100}
                                                  << QList<int>{30};
    QTest::newRow("empty range") << 5 << 5 << 5 << QColor(Qt::red) << 0 << QList<int>{} << QList<int>{200, 100, 0};
}

void tst_KnobWidgets::ring()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(QColor, color);
    QFETCH(int, arc);
    QFETCH(QList<int>, lit);
    QFETCH(QList<int>, dark);

    BaseKnob knob;
    knob.setMaxValue(maximum);
    knob.setMinValue(minimum);
    knob.setKnobValue(value);
    if (color.isValid())
        knob.setKnobColor(color);
    const QColor ink = color.isValid() ? color : QColor(224, 147, 55);
    QCOMPARE(knob.getCurrentArcLength(), arc);
    QCOMPARE(knob.findChild<QLabel*>("lblVolume")->text(), QString::number(value));

    const QImage image = knob.grab().toImage();
    for (int angle : lit)
        QVERIFY2(distance(image, {54, 54}, 36, angle, ink) < 60, qPrintable(QString::number(angle)));
    for (int angle : dark)
        QVERIFY2(distance(image, {54, 54}, 36, angle, ink) > 150, qPrintable(QString::number(angle)));
}

void tst_KnobWidgets::pickerColours_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QColor>("color");
    QTest::newRow("first") << "btnColor_01" << QColor(255, 0, 0);
    QTest::newRow("last") << "btnColor_10" << QColor(255, 125, 255);
}

// A click on a swatch in the knob inspector: the picker reports its colour, the
// inspector keeps and reports it, and the swatch under the button shows it.
void tst_KnobWidgets::pickerColours()
{
    QFETCH(QString, button);
    QFETCH(QColor, color);

    BaseKnobPropertyWidget inspector;
    inspector.show();
    QVERIFY(QTest::qWaitForWindowExposed(&inspector));
    auto* picker = inspector.findChild<SelectColorWidget*>();
    QSignalSpy picked(picker, &SelectColorWidget::colorSelected);
    QSignalSpy reported(&inspector, &BaseKnobPropertyWidget::knobColorSelected);
    auto* target = picker->findChild<QPushButton*>(button);
    QTest::mouseClick(target, Qt::LeftButton);

    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.first().first().value<QColor>(), color);
    QCOMPARE(reported.count(), 1);
    QCOMPARE(reported.first().first().value<QColor>(), color);
    QCOMPARE(inspector.knobColor(), color);
    QVERIFY(target->isChecked());
    QCOMPARE(picker->grab().toImage().pixelColor(target->geometry().center()), color);
}

void tst_KnobWidgets::stateButtons_data()
{
    QTest::addColumn<int>("states");
    QTest::newRow("two") << 2;
    QTest::newRow("six fit") << 6;
    QTest::newRow("seven do not") << 7;
}

// Buttons in a row from the right edge, then a user's state change: the state's icon and
// title show, and a title typed in is reported for that state.
void tst_KnobWidgets::stateButtons()
{
    QFETCH(int, states);

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
    const bool fit = states <= 6;
    if (!fit)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no room"));
    inspector.generateButtonsByStateNames(names);
    inspector.setKnobIconList(icons);
    inspector.setKnobTitleList(titles);

    auto* panel = inspector.findChild<BaseKnobStateWidget*>();
    QList<QPushButton*> buttons = panel->findChildren<QPushButton*>(QRegularExpression("^$"));
    QCOMPARE(panel->totalButtonNum(), fit ? states : 0);
    QCOMPARE(stateChanged.count(), 0);  // the first state is chosen, not picked
    auto* edit = inspector.findChild<QLineEdit*>("lineEdtPluginTitle");
    if (!fit) {
        QCOMPARE(inspector.getCurrentIcon(), icons.first());
        return;
    }
    std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() > b->x(); });
    QVERIFY(buttons.first()->isChecked() && panel->rect().contains(buttons.last()->geometry()));
    QCOMPARE(edit->text(), QStringLiteral("title 0"));

    QTest::mouseClick(buttons.at(1), Qt::LeftButton);
    QCOMPARE(stateChanged.count(), 1);
    QCOMPARE(stateChanged.first().first().toInt(), 1);
    QCOMPARE(inspector.getCurrentIcon(), icons.at(1));
    QCOMPARE(edit->text(), QStringLiteral("title 1"));
    QCOMPARE(titleChanged.count(), 0);  // showing a title is no edit

    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "Hi");
    QCOMPARE(titleChanged.count(), 2);
    QCOMPARE(titleChanged.last(), QVariantList({1, QStringLiteral("Hi")}));
    QCOMPARE(panel->findChild<QLabel*>("lblImageText")->text(), QStringLiteral("Hi"));

    inspector.setKnobIconList(icons.mid(0, 1));  // one state left: no buttons to show
    for (QPushButton* button : panel->findChildren<QPushButton*>(QRegularExpression("^$")))
        QVERIFY(button->isHidden());
}

// The preview ring follows the colour set by code, which checks its swatch and reports
// nothing; "transparent" hides the ring but keeps the colour. A colour of no swatch
// leaves the picker as it was, and it still reports clicks.
void tst_KnobWidgets::previewRing()
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

    inspector.findChild<SelectColorWidget*>()->selectTargetColor(QColor(1, 2, 3));
    QVERIFY(inspector.findChild<QPushButton*>("btnColor_02")->isChecked());
    QCOMPARE(reported.count(), 0);
    QTest::mouseClick(inspector.findChild<QPushButton*>("btnColor_03"), Qt::LeftButton);
    QCOMPARE(reported.count(), 1);
}

QTEST_MAIN(tst_KnobWidgets)
#include "tst_knobwidgets.moc"
