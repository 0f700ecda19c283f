// The icon state panel and the property widget base: state buttons, the icon picking
// chain through menu, file chooser and builder, and which changes count as user edits.
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/dialogiconeditmenu.h"
#include "iconbuilder/iconfilechooser.h"
#include "modaldriver.h"
#include "package/kyvantaproxy.h"
#include "testpictures.h"
#include "widgets/basepropertywidget.h"
#include "widgets/iconstatewidget.h"
#include "widgets/kydisplayviewtextsetting.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMovie>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class tst_PropertyWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void stateButtons_data();
    void stateButtons();
    void selectIconFile_data();
    void selectIconFile();
    void viewAttribute();
    void switchingStates();
    void modes_data();
    void modes();

private:
    QTemporaryDir m_dir;
    QString m_png;
};

namespace {
// State buttons are the panel's only unnamed buttons.
QList<QPushButton*> stateButtonsOf(QWidget* panel)
{
    return panel->findChildren<QPushButton*>(QRegularExpression(QStringLiteral("^$")));
}
} // namespace

void tst_PropertyWidgets::initTestCase()
{
    QVERIFY(m_dir.isValid());
    KyVantaProxy::getInstance()->configDir = m_dir.filePath(QStringLiteral("config"));
    m_png = m_dir.filePath(QStringLiteral("photo.png"));
    QVERIFY(TestPictures::gradient(QSize(200, 100)).save(m_png));
    QVERIFY(TestPictures::writeFile(m_dir.filePath("anim.GIF"), TestPictures::animation(QSize(200, 100), 3)));
}

void tst_PropertyWidgets::cleanup()
{
    IconFileChooser::setHook({});
}

void tst_PropertyWidgets::stateButtons_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("fromLeft");
    QTest::addColumn<QList<int>>("xById");
    QTest::newRow("two from left") << QStringList{"on", "off"} << true << QList<int>{84, 120};
    QTest::newRow("two from right") << QStringList{"on", "off"} << false << QList<int>{120, 84};
    QTest::newRow("six fit") << QStringList{"a", "b", "c", "d", "e", "f"} << true
                             << QList<int>{12, 48, 84, 120, 156, 192};
    QTest::newRow("seven do not fit") << QStringList{"a", "b", "c", "d", "e", "f", "g"} << true << QList<int>{};
}

void tst_PropertyWidgets::stateButtons()
{
    QFETCH(QStringList, names);
    QFETCH(bool, fromLeft);
    QFETCH(QList<int>, xById);

    IconStateWidget panel;
    QSignalSpy index(&panel, &IconStateWidget::iconIndexChanged);
    panel.generateButtonsByStateNames({"old 1", "old 2", "old 3"}, true);  // replaced, connection not doubled
    if (names.size() > 6)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no room")));
    panel.generateButtonsByStateNames(names, fromLeft);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(panel.totalButtonNum(), xById.size());
    QCOMPARE(index.count(), 0);  // choosing the first state is no user edit

    const QList<QPushButton*> buttons = stateButtonsOf(&panel);
    QCOMPARE(buttons.size(), xById.size());
    for (QPushButton* button : buttons) {
        const int id = int(names.indexOf(button->toolTip()));
        QCOMPARE(button->geometry(), QRect(xById.at(id), 206, 36, 16));
        QCOMPARE(button->isChecked(), id == 0);
    }
    if (xById.size() > 1) {
        buttons.last()->click();
        panel.clickButton(1);
        QCOMPARE(index.count(), 2);
        QCOMPARE(index.last().at(0).toInt(), 1);
    }
}

void tst_PropertyWidgets::selectIconFile_data()
{
    QTest::addColumn<QString>("leave");      // the pointer leaves the "menu" or this button first
    QTest::addColumn<QString>("menu");       // then this menu button is clicked, if the menu is still up
    QTest::addColumn<QString>("builder");    // button clicked in the icon builder; none: no file picked
    QTest::addColumn<QList<int>>("counts");  // changing, changed, path, build
    QTest::newRow("menu dismissed") << "menu" << "btnLocalDisk" << "" << QList<int>{0, 0, 0, 0};
    QTest::newRow("file dialog cancelled after leaving a button") << "btnIconBuilder" << "btnLocalDisk" << ""
                                                                  << QList<int>{1, 0, 0, 0};
    QTest::newRow("host's icon builder") << "" << "btnIconBuilder" << "" << QList<int>{0, 0, 0, 1};
    QTest::newRow("builder cancelled") << "" << "btnLocalDisk" << "btnCancel" << QList<int>{1, 1, 0, 0};
    QTest::newRow("builder accepted") << "" << "btnLocalDisk" << "btnOk" << QList<int>{1, 1, 1, 0};
}

void tst_PropertyWidgets::selectIconFile()
{
    QFETCH(QString, leave);
    QFETCH(QString, menu);
    QFETCH(QString, builder);
    QFETCH(QList<int>, counts);

    BasePropertyWidget base;
    IconStateWidget* panel = base.iconStateWidget();
    int changing = 0;  // a QString& argument: counted by hand, QSignalSpy cannot hold it
    connect(&base, &BasePropertyWidget::iconFolderChanging, this, [&changing](QString& folder) {
        ++changing;
        folder = QStringLiteral("/host/chosen");  // the host may redirect the chooser
    });
    QSignalSpy changed(&base, &BasePropertyWidget::iconFolderChanged);
    QSignalSpy path(panel, &IconStateWidget::iconPathChanged);
    QSignalSpy icon(&base, &BasePropertyWidget::pluginIconChanged);
    QSignalSpy build(&base, &BasePropertyWidget::buildIcon);

    QString folderShown;
    IconFileChooser::setHook([&](QWidget*, const QString&, const QString& folder, const QString&) {
        folderShown = folder;
        if (builder.isEmpty())
            return QString();
        whenModal<DialogIconBuilder>([builder](DialogIconBuilder* dialog) {
            dialog->findChild<QPushButton*>(builder)->click();
        });
        return m_png;
    });
    QPoint menuOffset;  // from the select button's corner
    whenModal<DialogIconEditMenu>([&menuOffset, &base, leave, menu](DialogIconEditMenu* dialog) {
        menuOffset = dialog->geometry().topLeft() - base.findChild<QPushButton*>("btnSelect")->mapToGlobal(QPoint());
        QEvent event(QEvent::Leave);
        if (!leave.isEmpty())
            QApplication::sendEvent(leave == QLatin1String("menu") ? dialog : dialog->findChild<QWidget*>(leave), &event);
        if (dialog->isVisible())
            dialog->findChild<QPushButton*>(menu)->click();
    });
    base.findChild<QPushButton*>("btnSelect")->click();

    QCOMPARE((QList<int>{changing, int(changed.count()), int(path.count()), int(build.count())}), counts);
    QCOMPARE(menuOffset, QPoint(-15, -5));
    QCOMPARE(icon.count(), path.count());
    QCOMPARE(folderShown, changing ? QStringLiteral("/host/chosen") : QString());
    if (changed.count())
        QCOMPARE(changed.at(0).at(0).toString(), m_dir.path());
    if (path.count()) {
        QCOMPARE(path.at(0).at(0).toInt(), 0);
        QCOMPARE(base.pluginIconList(), QList<QString>{path.at(0).at(1).toString()});
        QVERIFY(path.at(0).at(1).toString().startsWith(KyVantaProxy::getInstance()->configDir));
    }
}

void tst_PropertyWidgets::viewAttribute()
{
    // Set by code before the first show: the pop-up made then shows it, and nothing is reported.
    BasePropertyWidget base;
    base.setTextEditable(true);
    QSignalSpy view(&base, &BasePropertyWidget::viewAttributeChanged);
    KyDisplayViewAttribute attribute;
    attribute.horAlignment = Qt::AlignLeft;
    base.setViewAttribute(attribute);
    base.adjustTextLabel(attribute);
    base.show();
    QVERIFY(QTest::qWaitForWindowExposed(&base));
    QVERIFY(base.textSetting() && base.findChild<QPushButton*>("btnTextEdit")->menu());
    QCOMPARE(base.viewAttribute().family, base.font().family());  // no family: the widget's own
    QCOMPARE(base.textSetting()->getViewAttribute(), base.viewAttribute());
    auto* text = base.findChild<QLabel*>("lblImageText");  // the inspector shows the size as given, no doubling
    QCOMPARE(text->font().pixelSize(), 13);
    QCOMPARE(text->alignment(), Qt::AlignLeft | Qt::AlignBottom);
    QCOMPARE(view.count(), 0);

    base.textSetting()->findChild<QPushButton*>("btnBold")->click();  // the user's edit in the pop-up
    QCOMPARE(view.count(), 1);
    QVERIFY(base.viewAttribute().bold);

    // The pop-up opens centred above its button, and is the same one on every opening.
    auto* button = base.findChild<QPushButton*>("btnTextEdit");
    const QRect buttonArea(button->mapToGlobal(QPoint()), button->size());
    KyDisplayViewTextSetting* popup = base.textSetting();
    for (int round = 0; round < 2; ++round) {
        QRect shown;
        QTimer::singleShot(0, button->menu(), [&shown, menu = button->menu()] {
            shown = menu->geometry();
            menu->hide();
        });
        button->showMenu();
        QVERIFY2(qAbs(shown.center().x() - buttonArea.center().x()) <= 1, qPrintable(QDebug::toString(shown)));
        QVERIFY2(qAbs(shown.bottom() + 1 - buttonArea.top()) <= 1, qPrintable(QDebug::toString(shown)));
        base.hide();
        base.show();
    }
    QCOMPARE(base.textSetting(), popup);
    const QWidgetList all = QApplication::allWidgets();
    QCOMPARE(std::count_if(all.begin(), all.end(), [](QWidget* w) { return qobject_cast<KyDisplayViewTextSetting*>(w); }), 1);
}

void tst_PropertyWidgets::switchingStates()
{
    // Each state shows its own icon and title; only typing into the real line edit is a user edit.
    BasePropertyWidget base;
    QSignalSpy title(&base, &BasePropertyWidget::pluginTitleChanged);
    QSignalSpy iconPath(&base, &BasePropertyWidget::pluginIconChanged);
    base.generateButtonsByStateNames({"on", "off"}, true);
    base.setPluginIconList({m_png, m_dir.filePath(QStringLiteral("anim.GIF"))});
    base.setPluginTitleList({"On", "Off"});
    auto* icon = base.findChild<QLabel*>("lblIcon");
    QCOMPARE(icon->pixmap().size(), QSize(75, 54));  // a still, stretched over the preview

    base.setCurrentId(1);
    QCOMPARE(base.currentId(), 1);
    QCOMPARE(base.iconTitle(), QStringLiteral("Off"));
    QCOMPARE(icon->pixmap().size(), QSize(75, 37));  // a GIF, also in capitals, keeps its aspect ratio
    base.lineEditDisconnect();
    base.titleEdit()->setText(QStringLiteral("Off"));  // as the host sets it
    base.lineEditConnect();
    QCOMPARE(title.count() + iconPath.count(), 0);  // nothing so far was the user's

    QTest::keyClicks(base.titleEdit(), "Go");  // one signal per keystroke, for the current state
    QTest::keyClick(base.titleEdit(), Qt::Key_Backspace);
    QCOMPARE(title.count(), 3);
    QCOMPARE(title.at(1), (QList<QVariant>{1, QStringLiteral("OffGo")}));
    QCOMPARE(title.at(2), (QList<QVariant>{1, QStringLiteral("OffG")}));
    QCOMPARE(base.pluginTitleList(), (QList<QString>{"On", "OffG"}));
    QCOMPARE(base.findChild<QLabel*>("lblImageText")->text(), QStringLiteral("OffG"));

    stateButtonsOf(base.iconStateWidget()).at(0)->click();  // the user's click
    QCOMPARE(base.currentId(), 0);
    QCOMPARE(base.iconTitle(), QStringLiteral("On"));
    QCOMPARE(icon->pixmap().size(), QSize(75, 54));
    QCOMPARE(title.count(), 3);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("fileExists")));
    base.setPluginIconList({m_dir.filePath(QStringLiteral("gone.png"))});  // a missing file keeps the preview
    QCOMPARE(icon->pixmap().size(), QSize(75, 54));
    base.onIconPathChanged(2, QStringLiteral("/icons/c.png"));  // past the list's end: grown with empty paths
    QCOMPARE(base.pluginIconList(), (QList<QString>{m_dir.filePath("gone.png"), "", "/icons/c.png"}));
}

void tst_PropertyWidgets::modes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("hidden");  // "state": the state buttons
    QTest::newRow("action mode") << "action" << QStringList{"btnSelect", "btnTextEdit"};
    QTest::newRow("plugin missing") << "missing" << QStringList{"btnSelect", "lblImageText", "lineEdtPluginTitle", "state"};
    QTest::newRow("fixed icon") << "fixed" << QStringList{"btnSelect", "lblImageText", "state"};
    QTest::newRow("one icon only") << "single" << QStringList{"state"};
}

void tst_PropertyWidgets::modes()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, hidden);

    BasePropertyWidget base;
    base.generateButtonsByStateNames({"a", "b"}, true);
    base.setPluginIconList({m_png, m_png});
    base.setTextEditable(true);
    QSignalSpy title(&base, &BasePropertyWidget::pluginTitleChanged);
    if (mode == QLatin1String("action")) {
        base.setTitleIsReadOnly(true);
        base.setIconChangeable(false);
        base.setTextEditable(false);
    } else if (mode == QLatin1String("missing")) {
        base.setPluginMissingMode();
    } else if (mode == QLatin1String("single")) {
        base.setPluginIconList({m_png});
    } else {
        base.setIconType(BaseIconProperty::Fixed, true);
        QCOMPARE(base.findChild<QLabel*>("lblIcon")->geometry(), QRect(70, 81, 100, 72));
    }
    for (const char* name : {"btnSelect", "btnTextEdit", "lblImageText", "lineEdtPluginTitle"})
        QVERIFY2(base.findChild<QWidget*>(name)->isHidden() == hidden.contains(name), name);
    for (QPushButton* button : stateButtonsOf(base.iconStateWidget()))
        QCOMPARE(button->isHidden(), hidden.contains("state"));

    if (mode == QLatin1String("action")) {  // read-only until switched back
        QCOMPARE(base.titleEdit()->focusPolicy(), Qt::NoFocus);
        QTest::keyClicks(base.titleEdit(), "x");
        QCOMPARE(title.count(), 0);
        base.setTitleIsReadOnly(false);
        QCOMPARE(base.titleEdit()->focusPolicy(), Qt::ClickFocus);
        QTest::keyClicks(base.titleEdit(), "x");
        QCOMPARE(title.count(), 1);
    } else if (mode == QLatin1String("fixed")) {
        base.setIconType(BaseIconProperty::Editable, true);
        QVERIFY(!base.findChild<QWidget*>("btnSelect")->isHidden());
    }
}

QTEST_MAIN(tst_PropertyWidgets)
#include "tst_propertywidgets.moc"
