// The text-settings pop-up: every control edits the attribute it names and reports
// the whole attribute once; programmatic updates report nothing; closing goes
// through the owner.
#include "testattribute.h"
#include "widgets/kydisplayviewtextsetting.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

class tst_KyDisplayViewTextSetting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void userEdits_data();
    void userEdits();
    void programmaticUpdate_data();
    void programmaticUpdate();
    void colourDialog_data();
    void colourDialog();

private:
    template <typename T = QPushButton>
    T* child(const char* name) const { return m_dialog->findChild<T*>(QLatin1String(name)); }

    std::unique_ptr<QWidget> m_owner;
    KyDisplayViewTextSetting* m_dialog = nullptr;  // owned by m_owner
};

void tst_KyDisplayViewTextSetting::initTestCase()
{
    qRegisterMetaType<KyDisplayViewAttribute>();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
    QVERIFY2(QFontDatabase::families().size() >= 2, "the family tests need two font families");
}

void tst_KyDisplayViewTextSetting::init()
{
    m_owner = std::make_unique<QWidget>();
    m_dialog = new KyDisplayViewTextSetting(m_owner.get());
    m_dialog->move(150, 150);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
}

void tst_KyDisplayViewTextSetting::userEdits_data()
{
    QTest::addColumn<QString>("control");  // clicked; a combo box gets the Down key, the dialog Escape
    QTest::addColumn<KyDisplayViewAttribute>("expected");

    QTest::newRow("bold") << "btnBold" << makeAttribute(132, 13, Bold);
    QTest::newRow("italic") << "btnItalic" << makeAttribute(132, 13, Italic);
    QTest::newRow("underline") << "btnUnderLine" << makeAttribute(132, 13, Underline);
    QTest::newRow("align left") << "btnAlignLeft" << makeAttribute(Qt::AlignLeft, 13, Plain);
    QTest::newRow("align centre stores 4") << "btnAlignCenter" << makeAttribute(Qt::AlignHCenter, 13, Plain);
    QTest::newRow("align right") << "btnAlignRight" << makeAttribute(Qt::AlignRight, 13, Plain);
    QTest::newRow("next size") << "comboBoxFontSize" << makeAttribute(132, 14, Plain);
    QTest::newRow("next family") << "comboBoxFontFamily" << makeAttribute(132, 13, Plain);
    // Closing asks the owner to hide the pop-up; it neither hides it nor edits.
    QTest::newRow("close button") << "btnClose" << KyDisplayViewAttribute();
    QTest::newRow("escape key") << "escape" << KyDisplayViewAttribute();
}

void tst_KyDisplayViewTextSetting::userEdits()
{
    QFETCH(QString, control);
    QFETCH(KyDisplayViewAttribute, expected);

    QSignalSpy changed(m_dialog, &KyDisplayViewTextSetting::viewAttributeChanged);
    QSignalSpy closing(m_dialog, &KyDisplayViewTextSetting::aboutToClose);
    QWidget* widget = m_dialog->findChild<QWidget*>(control);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (control == QLatin1String("comboBoxFontFamily"))
            expected.family = combo->itemData(combo->currentIndex() + 1).toString();
        QTest::keyClick(combo, Qt::Key_Down);
    } else if (widget) {
        QTest::mouseClick(widget, Qt::LeftButton);
    } else {
        QTest::keyClick(m_dialog, Qt::Key_Escape);
    }
    const bool closes = control == QLatin1String("btnClose") || control == QLatin1String("escape");
    QCOMPARE(closing.count(), closes ? 1 : 0);
    QCOMPARE(changed.count(), closes ? 0 : 1);
    if (!closes)
        QCOMPARE(changed.at(0).at(0).value<KyDisplayViewAttribute>(), expected);
    QCOMPARE(m_dialog->getViewAttribute(), expected);
    QVERIFY(m_dialog->isVisible());
}

void tst_KyDisplayViewTextSetting::programmaticUpdate_data()
{
    QTest::addColumn<KyDisplayViewAttribute>("value");
    QTest::addColumn<QString>("alignButton");
    QTest::addColumn<QString>("sizeText");
    QTest::addColumn<bool>("familyFound");

    QTest::newRow("left bold, size 9") << makeAttribute(Qt::AlignLeft, 9, Bold, "DejaVu Sans") << "btnAlignLeft"
                                       << "9 px" << true;
    QTest::newRow("stored default 132") << makeAttribute(132, 13, Plain) << "btnAlignCenter" << "13 px" << false;
    QTest::newRow("unknown alignment, absent size and family")
        << makeAttribute(0, 99, Plain, "No Such Family") << "btnAlignCenter" << "6 px" << false;
}

void tst_KyDisplayViewTextSetting::programmaticUpdate()
{
    QFETCH(KyDisplayViewAttribute, value);
    QFETCH(QString, alignButton);
    QFETCH(QString, sizeText);
    QFETCH(bool, familyFound);

    // Start away from the row's values so every control has to move.
    const int opposite = (value.bold ? 0 : Bold) | (value.italic ? 0 : Italic) | (value.underLine ? 0 : Underline);
    m_dialog->setViewAttribute(makeAttribute(Qt::AlignLeft, 6, opposite));
    auto* families = child<QComboBox>("comboBoxFontFamily");
    const QString familyBefore = families->currentText();

    QSignalSpy changed(m_dialog, &KyDisplayViewTextSetting::viewAttributeChanged);
    m_dialog->setViewAttribute(value);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_dialog->getViewAttribute(), value);  // kept as given, even where no item matches
    QCOMPARE(child("btnBold")->isChecked(), value.bold);
    QCOMPARE(child("btnItalic")->isChecked(), value.italic);
    QCOMPARE(child("btnUnderLine")->isChecked(), value.underLine);
    QVERIFY(m_dialog->findChild<QPushButton*>(alignButton)->isChecked());
    QCOMPARE(child<QComboBox>("comboBoxFontSize")->currentText(), sizeText);
    QCOMPARE(families->currentText(), familyFound ? value.family : familyBefore);

    // The user-edit connections are back: the next click reports the whole attribute.
    QTest::mouseClick(child("btnBold"), Qt::LeftButton);
    value.bold = !value.bold;
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<KyDisplayViewAttribute>(), value);
}

void tst_KyDisplayViewTextSetting::colourDialog_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QColor>("stored");
    QTest::newRow("accepted") << true << QColor(0x33, 0x66, 0x99);
    QTest::newRow("cancelled") << false << QColor(Qt::white);
}

void tst_KyDisplayViewTextSetting::colourDialog()
{
    QFETCH(bool, accept);
    QFETCH(QColor, stored);

    QSignalSpy changed(m_dialog, &KyDisplayViewTextSetting::viewAttributeChanged);
    QSignalSpy reopen(m_dialog, &KyDisplayViewTextSetting::aboutToShow);
    QColor preset;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* colours = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        if (!colours)
            return;
        answer.stop();
        preset = colours->currentColor();
        colours->setCurrentColor(QColor(0x33, 0x66, 0x99));
        accept ? colours->accept() : colours->reject();
    });
    answer.start(10);
    QTest::mouseClick(child("btnSelectColor"), Qt::LeftButton);  // returns when the dialog closed

    QCOMPARE(preset, QColor(Qt::white));
    QCOMPARE(reopen.count(), 1);
    QCOMPARE(changed.count(), accept ? 1 : 0);
    QCOMPARE(m_dialog->getViewAttribute().color, stored);
    const QImage swatch = child<QLabel>("labelColor")->grab().toImage();
    QCOMPARE(swatch.pixelColor(swatch.rect().center()), stored);
    QCOMPARE(child("btnSelectColor")->toolTip(), "LAB_TIP_TEXT_EDIT_COLOR : " + stored.name().toUpper());
}

QTEST_MAIN(tst_KyDisplayViewTextSetting)
#include "tst_kydisplayviewtextsetting.moc"
