// The text-settings pop-up: every control edits the attribute it names and reports
// the whole attribute once; programmatic updates report nothing; closing goes
// through the owner; the menu that hosts it sits centred above its button.
#include "attributeprinter.h"
#include "widgets/kydisplayviewmenu.h"
#include "widgets/kydisplayviewtextsetting.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidgetAction>
#include <QtTest>

namespace {

KyDisplayViewAttribute attribute(int alignment, bool bold, bool italic, bool underLine, int size = 13,
                                 const QString& family = QString())
{
    KyDisplayViewAttribute a;
    a.horAlignment = alignment;
    a.bold = bold;
    a.italic = italic;
    a.underLine = underLine;
    a.size = size;
    a.family = family;
    return a;
}

} // namespace

class tst_KyDisplayViewTextSetting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void userEdits_data();
    void userEdits();
    void programmaticUpdate_data();
    void programmaticUpdate();
    void closing_data();
    void closing();
    void colourDialog_data();
    void colourDialog();
    void filterNotSupportFont_data();
    void filterNotSupportFont();
    void menuPlacement();

private:
    template <typename T>
    T* child(const char* name) const
    {
        T* widget = m_dialog->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("form has no %s", name);
        return widget;
    }

    QWidget* m_owner = nullptr;
    KyDisplayViewTextSetting* m_dialog = nullptr;
};

void tst_KyDisplayViewTextSetting::initTestCase()
{
    qRegisterMetaType<KyDisplayViewAttribute>();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
    QVERIFY2(QFontDatabase::families().size() >= 2, "the family tests need two font families");
}

void tst_KyDisplayViewTextSetting::init()
{
    m_owner = new QWidget;
    m_owner->setGeometry(100, 100, 400, 300);
    m_dialog = new KyDisplayViewTextSetting(m_owner);
    m_dialog->move(150, 150);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
}

void tst_KyDisplayViewTextSetting::cleanup()
{
    delete m_owner;  // owns the dialog
    m_owner = nullptr;
    m_dialog = nullptr;
}

void tst_KyDisplayViewTextSetting::userEdits_data()
{
    QTest::addColumn<QString>("control");  // a button is clicked; a combo box gets the Down key
    QTest::addColumn<KyDisplayViewAttribute>("expected");

    QTest::newRow("bold") << "btnBold" << attribute(132, true, false, false);
    QTest::newRow("italic") << "btnItalic" << attribute(132, false, true, false);
    QTest::newRow("underline") << "btnUnderLine" << attribute(132, false, false, true);
    QTest::newRow("align left") << "btnAlignLeft" << attribute(Qt::AlignLeft, false, false, false);
    QTest::newRow("align centre stores 4") << "btnAlignCenter" << attribute(Qt::AlignHCenter, false, false, false);
    QTest::newRow("align right") << "btnAlignRight" << attribute(Qt::AlignRight, false, false, false);
    QTest::newRow("next size") << "comboBoxFontSize" << attribute(132, false, false, false, 14);
    QTest::newRow("next family") << "comboBoxFontFamily" << attribute(132, false, false, false);
}

void tst_KyDisplayViewTextSetting::userEdits()
{
    QFETCH(QString, control);
    QFETCH(KyDisplayViewAttribute, expected);

    QSignalSpy changed(m_dialog, &KyDisplayViewTextSetting::viewAttributeChanged);
    QWidget* widget = m_dialog->findChild<QWidget*>(control);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->objectName() == QLatin1String("comboBoxFontFamily"))
            expected.family = combo->itemData(combo->currentIndex() + 1).toString();
        QTest::keyClick(combo, Qt::Key_Down);
    } else {
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<KyDisplayViewAttribute>(), expected);
    QCOMPARE(m_dialog->getViewAttribute(), expected);
}

void tst_KyDisplayViewTextSetting::programmaticUpdate_data()
{
    QTest::addColumn<KyDisplayViewAttribute>("value");
    QTest::addColumn<QString>("alignButton");
    QTest::addColumn<QString>("sizeText");
    QTest::addColumn<bool>("familyFound");

    QTest::newRow("left bold, size 9") << attribute(Qt::AlignLeft, true, false, false, 9, "DejaVu Sans")
                                       << "btnAlignLeft" << "9 px" << true;
    QTest::newRow("stored default 132") << attribute(132, false, false, false, 13) << "btnAlignCenter" << "13 px"
                                        << false;
    QTest::newRow("centre 4 after left") << attribute(Qt::AlignHCenter, true, true, true, 6) << "btnAlignCenter"
                                         << "6 px" << false;
    QTest::newRow("unknown alignment, absent size and family")
        << attribute(0, false, false, false, 99, "No Such Family") << "btnAlignCenter" << "6 px" << false;
}

void tst_KyDisplayViewTextSetting::programmaticUpdate()
{
    QFETCH(KyDisplayViewAttribute, value);
    QFETCH(QString, alignButton);
    QFETCH(QString, sizeText);
    QFETCH(bool, familyFound);

    // Start away from the row's values so every control has to move.
    m_dialog->setViewAttribute(attribute(Qt::AlignLeft, !value.bold, !value.italic, !value.underLine, 6));
    auto* families = child<QComboBox>("comboBoxFontFamily");
    const QString familyBefore = families->currentText();

    QSignalSpy changed(m_dialog, &KyDisplayViewTextSetting::viewAttributeChanged);
    m_dialog->setViewAttribute(value);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_dialog->getViewAttribute(), value);  // kept as given, even where no item matches

    QCOMPARE(child<QPushButton>("btnBold")->isChecked(), value.bold);
    QCOMPARE(child<QPushButton>("btnItalic")->isChecked(), value.italic);
    QCOMPARE(child<QPushButton>("btnUnderLine")->isChecked(), value.underLine);
    QVERIFY(m_dialog->findChild<QPushButton*>(alignButton)->isChecked());
    QCOMPARE(child<QComboBox>("comboBoxFontSize")->currentText(), sizeText);
    QCOMPARE(families->currentText(), familyFound ? value.family : familyBefore);

    // The user-edit connections are back: the next click reports the whole attribute.
    QTest::mouseClick(child<QPushButton>("btnBold"), Qt::LeftButton);
    QCOMPARE(changed.count(), 1);
    KyDisplayViewAttribute expected = value;
    expected.bold = !value.bold;
    QCOMPARE(changed.at(0).at(0).value<KyDisplayViewAttribute>(), expected);
}

void tst_KyDisplayViewTextSetting::closing_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("close button") << false;
    QTest::newRow("escape key") << true;
}

void tst_KyDisplayViewTextSetting::closing()
{
    QFETCH(bool, escape);
    const KyDisplayViewAttribute before = attribute(Qt::AlignRight, true, false, true, 10);
    m_dialog->setViewAttribute(before);
    QSignalSpy closing(m_dialog, &KyDisplayViewTextSetting::aboutToClose);
    QSignalSpy changed(m_dialog, &KyDisplayViewTextSetting::viewAttributeChanged);

    if (escape)
        QTest::keyClick(m_dialog, Qt::Key_Escape);
    else
        QTest::mouseClick(child<QPushButton>("btnClose"), Qt::LeftButton);

    QCOMPARE(closing.count(), 1);
    QCOMPARE(changed.count(), 0);
    QVERIFY(m_dialog->isVisible());  // the owner hides the pop-up, not the dialog itself
    QCOMPARE(m_dialog->getViewAttribute(), before);
}

void tst_KyDisplayViewTextSetting::colourDialog_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QColor>("pick");
    QTest::addColumn<QColor>("stored");

    QTest::newRow("accepted") << true << QColor(0x33, 0x66, 0x99) << QColor(0x33, 0x66, 0x99);
    QTest::newRow("cancelled") << false << QColor(0x33, 0x66, 0x99) << QColor(Qt::white);
}

void tst_KyDisplayViewTextSetting::colourDialog()
{
    QFETCH(bool, accept);
    QFETCH(QColor, pick);
    QFETCH(QColor, stored);

    QSignalSpy changed(m_dialog, &KyDisplayViewTextSetting::viewAttributeChanged);
    QSignalSpy reopen(m_dialog, &KyDisplayViewTextSetting::aboutToShow);
    QColor preset;
    QPoint dialogPos;
    QTimer answer;
    answer.setInterval(10);
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* colours = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        if (!colours)
            return;
        answer.stop();
        preset = colours->currentColor();
        dialogPos = colours->pos();
        colours->setCurrentColor(pick);
        accept ? colours->accept() : colours->reject();
    });
    answer.start();
    QTest::mouseClick(child<QPushButton>("btnSelectColor"), Qt::LeftButton);  // returns when the dialog closed

    QCOMPARE(preset, QColor(Qt::white));
    QCOMPARE(dialogPos, child<QPushButton>("btnClose")->mapToGlobal(QPoint(0, 0)));
    QCOMPARE(reopen.count(), 1);
    QCOMPARE(changed.count(), accept ? 1 : 0);
    QCOMPARE(m_dialog->getViewAttribute().color, stored);
    QCOMPARE(child<QLabel>("labelColor")->styleSheet(),
             QStringLiteral("QLabel {background-color: rgb(%1,%2,%3);border:2px solid rgb(140,140,140);}")
                 .arg(stored.red())
                 .arg(stored.green())
                 .arg(stored.blue()));
    QCOMPARE(child<QPushButton>("btnSelectColor")->toolTip(),
             QStringLiteral("LAB_TIP_TEXT_EDIT_COLOR : %1").arg(stored.name().toUpper()));
}

void tst_KyDisplayViewTextSetting::filterNotSupportFont_data()
{
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("first duplicate only") << QStringList{"System", "Arial", "System"} << QStringList{"Arial", "System"};
    QTest::newRow("case-sensitive") << QStringList{"system", "SMALL FONTS", "Small Fonts"}
                                    << QStringList{"system", "SMALL FONTS"};
    QTest::newRow("whole list") << QStringList{"Cambria Math", "Fixedsys", "Marlett", "Modern", "Myanmar Text", "Roman",
                                               "Script", "Small Fonts", "System", "Terminal", "Webdings"}
                                << QStringList();
}

void tst_KyDisplayViewTextSetting::filterNotSupportFont()
{
    QFETCH(QStringList, families);
    QFETCH(QStringList, expected);
    m_dialog->filterNotSupportFont(families);
    QCOMPARE(families, expected);
}

void tst_KyDisplayViewTextSetting::menuPlacement()
{
    QWidget window;
    window.setGeometry(50, 50, 600, 450);
    auto* button = new QPushButton(&window);
    button->setGeometry(280, 300, 40, 30);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    KyDisplayViewMenu menu(button);
    QVERIFY(menu.windowFlags() & Qt::FramelessWindowHint);
    auto* action = new QWidgetAction(&window);
    action->setDefaultWidget(new KyDisplayViewTextSetting(&window));
    menu.addAction(action);

    const QPoint below = button->mapToGlobal(QPoint(0, button->height()));
    menu.popup(below);
    QTRY_VERIFY(menu.isVisible());
    QCOMPARE(menu.pos(), QPoint(below.x() - menu.width() / 2 + button->width() / 2,
                                below.y() - menu.height() - button->height()));
    menu.hide();
}

QTEST_MAIN(tst_KyDisplayViewTextSetting)
#include "tst_kydisplayviewtextsetting.moc"
