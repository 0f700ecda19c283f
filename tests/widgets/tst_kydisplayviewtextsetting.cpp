// The text-settings pop-up: every control edits the attribute it names and reports
// the whole attribute once; programmatic updates report nothing; closing goes
// through the owner. Where it opens. The attribute's JSON form.
#include "testattribute.h"
#include "widgets/kydisplayviewmenu.h"
#include "widgets/kydisplayviewpopup.h"
#include "widgets/kydisplayviewtextsetting.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QJsonDocument>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

class tst_KyDisplayViewTextSetting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qRegisterMetaType<KyDisplayViewAttribute>();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
        QVERIFY2(QFontDatabase::families().size() >= 2, "the family tests need two font families");
    }

    void init()
    {
        m_owner.reset();
        if (QByteArrayList{"popupAboveButton", "json"}.contains(QTest::currentTestFunction()))
            return;  // they need no dialog shown
        m_owner = std::make_unique<QWidget>();
        m_dialog = new KyDisplayViewTextSetting(m_owner.get());
        m_dialog->move(150, 150);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    }

    void userEdits_data()
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

    void userEdits()
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

    void programmaticUpdate_data()
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

    void programmaticUpdate()
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

    // The text-edit button's pop-up opens centred above the button, which shows checked
    // while it is open; it is the same pop-up at every opening, with the user's edits kept.
    void popupAboveButton()
    {
        QWidget owner;
        owner.resize(600, 400);
        auto* button = new QPushButton(QStringLiteral("T"), &owner);
        button->setCheckable(true);
        button->setGeometry(280, 300, 40, 24);
        const KyDisplayViewPopup popup = KyDisplayViewPopup::attach(button, &owner);
        const std::unique_ptr<QMenu> menu(popup.menu);  // the owner's to delete
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        const QRect area(button->mapToGlobal(QPoint()), button->size());
        for (int round = 0; round < 2; ++round) {
            QRect shown;
            bool checked = false, shows = false, bold = false;
            QTimer::singleShot(0, menu.get(), [&] {
                shown = menu->geometry();
                checked = button->isChecked();
                shows = popup.textSetting->isVisible();
                auto* boldButton = popup.textSetting->findChild<QPushButton*>("btnBold");
                bold = boldButton->isChecked();
                if (!bold)
                    boldButton->click();
                popup.textSetting->findChild<QPushButton*>("btnClose")->click();
            });
            button->showMenu();
            QVERIFY2(qAbs(shown.center().x() - area.center().x()) <= 1, qPrintable(QDebug::toString(shown)));
            QCOMPARE(shown.bottom() + 1, area.top());
            QVERIFY(checked && shows && !button->isChecked() && !menu->isVisible());
            QCOMPARE(bold, round == 1);
        }
        const QWidgetList all = QApplication::allWidgets();
        QCOMPARE(std::count_if(all.cbegin(), all.cend(), [](QWidget* w) { return qobject_cast<KyDisplayViewTextSetting*>(w); }), 1);
    }

    // The "displayView" JSON form: exact keys both ways, and tolerant reading of wrong types.
    void json_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<KyDisplayViewAttribute>("attribute");
        QTest::addColumn<int>("warnings");  // -1: none, and the JSON is exactly what toJson() writes

        QTest::newRow("every field set, right") << QByteArray(R"({"family": "DejaVu Sans", "size": 18, "color": "#ffaa00",)"
                                                                   R"("horAlignment": 2, "bold": true, "italic": true, "underLine": true})")
            << makeAttribute(Qt::AlignRight, 18, Bold | Italic | Underline, "DejaVu Sans", QColor(255, 170, 0)) << -1;
        // Wrong types and missing members fall back to defaults, field by field.
        QTest::newRow("missing members") << QByteArray(R"({"Size": 20})") << KyDisplayViewAttribute() << 0;
        QTest::newRow("string size") << QByteArray(R"({"size": "16"})") << makeAttribute(132, 0, Plain) << 1;
        QTest::newRow("huge size clamped") << QByteArray(R"({"size": 1e12})") << makeAttribute(132, 2147483647, Plain)
                                           << 0;
        QTest::newRow("unparsable colour") << QByteArray(R"({"color": "not a colour"})")
                                           << makeAttribute(132, 13, Plain, "", QColor()) << 1;
        QTest::newRow("non-boolean styles") << QByteArray(R"({"bold": 1, "italic": "true", "underLine": null})")
                                            << KyDisplayViewAttribute() << 3;
    }

    void json()
    {
        QFETCH(QByteArray, json);
        QFETCH(KyDisplayViewAttribute, attribute);
        QFETCH(int, warnings);

        for (int i = 0; i < warnings; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\\[KyDisplayViewAttribute\\]\\[fromJson\\]"));
        const QJsonObject stored = QJsonDocument::fromJson(json).object();
        const KyDisplayViewAttribute read = KyDisplayViewAttribute::fromJson(stored);
        QCOMPARE(read, attribute);
        QCOMPARE(read.color.isValid(), attribute.color.isValid());
        if (warnings < 0)
            QCOMPARE(KyDisplayViewAttribute::toJson(attribute), stored);
    }

private:
    template <typename T = QPushButton>
    T* child(const char* name) const { return m_dialog->findChild<T*>(QLatin1String(name)); }

    std::unique_ptr<QWidget> m_owner;
    KyDisplayViewTextSetting* m_dialog = nullptr;  // owned by m_owner
};

QTEST_MAIN(tst_KyDisplayViewTextSetting)
#include "tst_kydisplayviewtextsetting.moc"
