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

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class tst_PropertyWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void stateButtons_data();
    void stateButtons();
    void repeatedStateButtonsReplaceOld();
    void selectIconFile_data();
    void selectIconFile();
    void folderCanBeRedirected();
    void updateCurrentIcon_data();
    void updateCurrentIcon();

    void typedTitleEmitsOncePerEdit();
    void programmaticUpdatesAreSilent();
    void switchingStates();
    void iconList_data();
    void iconList();
    void iconPathFromPanel();
    void actionMode();
    void missingMode();
    void fixedIconType();
    void viewAttributeFamily_data();
    void viewAttributeFamily();
    void textSettingsBuiltOnceAndReport();

private:
    QList<QPushButton*> stateButtonsOf(QWidget* panel) const;
    QTemporaryDir m_dir;
    QString m_png;
    QString m_gif;
};

void tst_PropertyWidgets::initTestCase()
{
    QVERIFY(m_dir.isValid());
    KyVantaProxy::getInstance()->configDir = m_dir.filePath(QStringLiteral("config"));
    m_png = m_dir.filePath(QStringLiteral("photo.png"));
    m_gif = m_dir.filePath(QStringLiteral("anim.GIF"));
    QVERIFY(TestPictures::gradient(QSize(200, 100)).save(m_png));
    QVERIFY(TestPictures::writeFile(m_gif, TestPictures::makeGif({QSize(200, 100), 3, false, false})));
}

void tst_PropertyWidgets::cleanup()
{
    IconFileChooser::setHook({});
}

QList<QPushButton*> tst_PropertyWidgets::stateButtonsOf(QWidget* panel) const
{
    QList<QPushButton*> result;
    const auto buttons = panel->findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        if (button->objectName().isEmpty() && button->isCheckable())
            result << button;
    }
    return result;
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
    QTest::newRow("none") << QStringList{} << true << QList<int>{};
}

void tst_PropertyWidgets::stateButtons()
{
    QFETCH(QStringList, names);
    QFETCH(bool, fromLeft);
    QFETCH(QList<int>, xById);

    IconStateWidget panel;
    QSignalSpy index(&panel, &IconStateWidget::iconIndexChanged);
    if (names.size() > 6)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no room")));
    panel.generateButtonsByStateNames(names, fromLeft);
    QCOMPARE(panel.totalButtonNum(), xById.size());
    QCOMPARE(index.count(), 0);  // choosing the first state is no user edit

    const QList<QPushButton*> buttons = stateButtonsOf(&panel);
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

void tst_PropertyWidgets::repeatedStateButtonsReplaceOld()
{
    IconStateWidget panel;
    panel.generateButtonsByStateNames({"a", "b", "c"}, true);
    panel.generateButtonsByStateNames({"x", "y"}, true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(panel.totalButtonNum(), 2);
    QCOMPARE(stateButtonsOf(&panel).size(), 2);
    QSignalSpy index(&panel, &IconStateWidget::iconIndexChanged);
    panel.clickButton(1);
    QCOMPARE(index.count(), 1);  // connected once, not once per call
}

void tst_PropertyWidgets::selectIconFile_data()
{
    QTest::addColumn<QString>("menu");        // button clicked in the edit menu, or "leave"
    QTest::addColumn<bool>("pickFile");       // the file chooser returns a file
    QTest::addColumn<QString>("builder");     // button clicked in the icon builder
    QTest::addColumn<QList<int>>("counts");   // changing, changed, path, build
    QTest::newRow("menu dismissed") << "leave" << false << "" << QList<int>{0, 0, 0, 0};
    QTest::newRow("host's icon builder") << "btnIconBuilder" << false << "" << QList<int>{0, 0, 0, 1};
    QTest::newRow("file dialog cancelled") << "btnLocalDisk" << false << "" << QList<int>{1, 0, 0, 0};
    QTest::newRow("builder cancelled") << "btnLocalDisk" << true << "btnCancel" << QList<int>{1, 1, 0, 0};
    QTest::newRow("builder accepted") << "btnLocalDisk" << true << "btnOk" << QList<int>{1, 1, 1, 0};
}

void tst_PropertyWidgets::selectIconFile()
{
    QFETCH(QString, menu);
    QFETCH(bool, pickFile);
    QFETCH(QString, builder);
    QFETCH(QList<int>, counts);

    BasePropertyWidget base;
    IconStateWidget* panel = base.iconStateWidget();
    int changing = 0;  // a QString& argument: counted by hand, QSignalSpy cannot hold it
    connect(panel, &IconStateWidget::iconFolderChanging, this, [&changing](QString&) { ++changing; });
    QSignalSpy changed(&base, &BasePropertyWidget::iconFolderChanged);
    QSignalSpy path(panel, &IconStateWidget::iconPathChanged);
    QSignalSpy icon(&base, &BasePropertyWidget::pluginIconChanged);
    QSignalSpy build(&base, &BasePropertyWidget::buildIcon);

    IconFileChooser::setHook([&](QWidget*, const QString&, const QString&, const QString&) {
        if (pickFile)
            whenModal<DialogIconBuilder>([builder](DialogIconBuilder* dialog) {
                dialog->findChild<QPushButton*>(builder)->click();
            });
        return pickFile ? m_png : QString();
    });
    whenModal<DialogIconEditMenu>([menu](DialogIconEditMenu* dialog) {
        QEvent leave(QEvent::Leave);
        if (menu == QLatin1String("leave"))
            QApplication::sendEvent(dialog, &leave);
        else
            dialog->findChild<QPushButton*>(menu)->click();
    });
    base.findChild<QPushButton*>("btnSelect")->click();

    QCOMPARE((QList<int>{changing, int(changed.count()), int(path.count()), int(build.count())}),
             counts);
    QCOMPARE(icon.count(), path.count());
    if (changed.count())
        QCOMPARE(changed.at(0).at(0).toString(), m_dir.path());
    if (path.count()) {
        QCOMPARE(path.at(0).at(0).toInt(), 0);
        QCOMPARE(base.pluginIconList(), QList<QString>{path.at(0).at(1).toString()});
        QVERIFY(path.at(0).at(1).toString().startsWith(KyVantaProxy::getInstance()->configDir));
    }
}

void tst_PropertyWidgets::folderCanBeRedirected()
{
    BasePropertyWidget base;
    connect(&base, &BasePropertyWidget::iconFolderChanging, this, [](QString& folder) {
        folder = QStringLiteral("/host/chosen");
    });
    QString seen;
    IconFileChooser::setHook([&seen](QWidget*, const QString&, const QString& folder, const QString&) {
        seen = folder;
        return QString();
    });
    whenModal<DialogIconEditMenu>([](DialogIconEditMenu* menu) {
        menu->findChild<QPushButton*>("btnLocalDisk")->click();
    });
    base.findChild<QPushButton*>("btnSelect")->click();
    QCOMPARE(seen, QStringLiteral("/host/chosen"));
}

void tst_PropertyWidgets::updateCurrentIcon_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("movie");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("png stretched") << "photo.png" << false << QSize(75, 54);
    QTest::newRow("GIF in capitals plays") << "anim.GIF" << true << QSize(75, 37);
}

void tst_PropertyWidgets::updateCurrentIcon()
{
    QFETCH(QString, file);
    QFETCH(bool, movie);
    QFETCH(QSize, shown);
    IconStateWidget panel;
    auto* label = panel.findChild<QLabel*>("lblIcon");
    panel.updateCurrentIcon(m_dir.filePath(file));
    if (movie) {
        QVERIFY(label->movie());
        QCOMPARE(label->movie()->scaledSize(), shown);
        QVERIFY(!label->hasScaledContents());
    } else {
        QCOMPARE(label->pixmap().size(), shown);
        QVERIFY(label->hasScaledContents());
    }
    // A missing file keeps what is shown.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("fileExists")));
    panel.updateCurrentIcon(m_dir.filePath(QStringLiteral("gone.png")));
    QCOMPARE(bool(label->movie()), movie);
}

void tst_PropertyWidgets::typedTitleEmitsOncePerEdit()
{
    BasePropertyWidget base;
    base.setPluginTitleList({"Start"});
    QSignalSpy title(&base, &BasePropertyWidget::pluginTitleChanged);
    QLineEdit* edit = base.titleEdit();
    edit->end(false);
    QTest::keyClicks(edit, "Go");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(title.count(), 3);
    QCOMPARE(title.at(1), (QList<QVariant>{0, QStringLiteral("StartGo")}));
    QCOMPARE(title.at(2), (QList<QVariant>{0, QStringLiteral("StartG")}));
    QCOMPARE(base.pluginTitleList(), QList<QString>{"StartG"});
    QCOMPARE(base.findChild<QLabel*>("lblImageText")->text(), QStringLiteral("StartG"));
}

void tst_PropertyWidgets::programmaticUpdatesAreSilent()
{
    BasePropertyWidget base;
    QSignalSpy title(&base, &BasePropertyWidget::pluginTitleChanged);
    QSignalSpy icon(&base, &BasePropertyWidget::pluginIconChanged);
    QSignalSpy view(&base, &BasePropertyWidget::viewAttributeChanged);
    base.show();
    base.setPluginTitleList({"One"});
    base.setPluginIconList({m_png});
    base.setCurrentId(0);
    KyDisplayViewAttribute attribute;
    attribute.bold = true;
    attribute.horAlignment = Qt::AlignLeft;
    base.setViewAttribute(attribute);
    base.adjustTextLabel(attribute);
    base.lineEditDisconnect();
    base.titleEdit()->setText(QStringLiteral("by code"));
    base.lineEditConnect();
    QCOMPARE(title.count() + icon.count() + view.count(), 0);
    QCOMPARE(base.iconTitle(), QStringLiteral("by code"));
    QVERIFY(base.textSetting()->getViewAttribute().bold);
}

void tst_PropertyWidgets::switchingStates()
{
    BasePropertyWidget base;
    const QString second = m_dir.filePath(QStringLiteral("second.png"));
    QVERIFY(TestPictures::gradient(QSize(30, 30)).save(second));
    base.generateButtonsByStateNames({"on", "off"}, true);
    base.setPluginIconList({m_png, second});
    base.setPluginTitleList({"On", "Off"});
    QSignalSpy title(&base, &BasePropertyWidget::pluginTitleChanged);

    base.setCurrentId(1);
    QCOMPARE(base.currentId(), 1);
    QCOMPARE(base.iconTitle(), QStringLiteral("Off"));
    QCOMPARE(title.count(), 0);

    QTest::keyClicks(base.titleEdit(), "!");
    QCOMPARE(title.count(), 1);
    QCOMPARE(title.at(0).at(0).toInt(), 1);
    QCOMPARE(base.pluginTitleList(), (QList<QString>{"On", "Off!"}));

    stateButtonsOf(base.iconStateWidget()).at(0)->click();  // the user's click
    QCOMPARE(base.currentId(), 0);
    QCOMPARE(base.iconTitle(), QStringLiteral("On"));
    QCOMPARE(title.count(), 1);
}

void tst_PropertyWidgets::iconList_data()
{
    QTest::addColumn<int>("states");
    QTest::addColumn<int>("icons");
    QTest::addColumn<bool>("buttonsVisible");
    QTest::newRow("one icon hides state buttons") << 2 << 1 << false;
    QTest::newRow("none hides state buttons") << 2 << 0 << false;
    QTest::newRow("two icons keep them") << 2 << 2 << true;
}

void tst_PropertyWidgets::iconList()
{
    QFETCH(int, states);
    QFETCH(int, icons);
    QFETCH(bool, buttonsVisible);
    BasePropertyWidget base;
    base.show();
    QStringList names;
    for (int i = 0; i < states; ++i)
        names << QString::number(i);
    base.generateButtonsByStateNames(names, true);
    base.setPluginIconList(QList<QString>(icons, m_png));
    const auto buttons = stateButtonsOf(base.iconStateWidget());
    QCOMPARE(buttons.size(), states);
    for (QPushButton* button : buttons)
        QCOMPARE(button->isVisible(), buttonsVisible);
    QCOMPARE(base.findChild<QLabel*>("lblIcon")->pixmap().isNull(), icons == 0);
}

void tst_PropertyWidgets::iconPathFromPanel()
{
    BasePropertyWidget base;
    QSignalSpy icon(&base, &BasePropertyWidget::pluginIconChanged);
    emit base.iconStateWidget()->iconPathChanged(-1, QStringLiteral("/icons/a.png"));
    base.onIconPathChanged(2, QStringLiteral("/icons/c.png"));
    QCOMPARE(icon.count(), 2);
    QCOMPARE(icon.at(0), (QList<QVariant>{0, QStringLiteral("/icons/a.png")}));
    QCOMPARE(base.pluginIconList(), (QList<QString>{"/icons/a.png", "", "/icons/c.png"}));
}

void tst_PropertyWidgets::actionMode()
{
    BasePropertyWidget base;
    base.setIconType(BaseIconProperty::Editable, true);
    base.setTextEditable(true);
    QSignalSpy title(&base, &BasePropertyWidget::pluginTitleChanged);
    base.setTitleIsReadOnly(true);
    base.setIconChangeable(false);
    base.setTextEditable(false);
    QCOMPARE(base.titleEdit()->focusPolicy(), Qt::NoFocus);
    QTest::keyClicks(base.titleEdit(), "x");
    QCOMPARE(title.count(), 0);
    QVERIFY(base.findChild<QPushButton*>("btnSelect")->isHidden());
    QVERIFY(base.findChild<QPushButton*>("btnTextEdit")->isHidden());

    base.setTitleIsReadOnly(false);
    QCOMPARE(base.titleEdit()->focusPolicy(), Qt::ClickFocus);
    QTest::keyClicks(base.titleEdit(), "x");
    QCOMPARE(title.count(), 1);
}

void tst_PropertyWidgets::missingMode()
{
    BasePropertyWidget base;
    base.generateButtonsByStateNames({"a", "b"}, true);
    base.setPluginMissingMode();
    QVERIFY(base.titleEdit()->isHidden());
    QVERIFY(base.findChild<QPushButton*>("btnSelect")->isHidden());
    QVERIFY(base.findChild<QLabel*>("lblImageText")->isHidden());
    for (QPushButton* button : stateButtonsOf(base.iconStateWidget()))
        QVERIFY(button->isHidden());
}

void tst_PropertyWidgets::fixedIconType()
{
    BasePropertyWidget base;
    base.setIconType(BaseIconProperty::Fixed, true);
    QCOMPARE(base.findChild<QLabel*>("lblIcon")->geometry(), QRect(70, 81, 100, 72));
    QVERIFY(base.findChild<QPushButton*>("btnSelect")->isHidden());
    base.setIconType(BaseIconProperty::Editable, true);
    QVERIFY(!base.findChild<QPushButton*>("btnSelect")->isHidden());
}

void tst_PropertyWidgets::viewAttributeFamily_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("ownFont");
    QTest::newRow("empty takes the widget's font") << QString() << true;
    QTest::newRow("named family kept") << QStringLiteral("DejaVu Serif") << false;
}

void tst_PropertyWidgets::viewAttributeFamily()
{
    QFETCH(QString, family);
    QFETCH(bool, ownFont);
    BasePropertyWidget base;
    KyDisplayViewAttribute attribute;
    attribute.family = family;
    base.setViewAttribute(attribute);
    QCOMPARE(base.viewAttribute().family, ownFont ? base.font().family() : family);
}

void tst_PropertyWidgets::textSettingsBuiltOnceAndReport()
{
    BasePropertyWidget base;
    base.setTextEditable(true);
    QVERIFY(!base.textSetting());
    base.show();
    QVERIFY(QTest::qWaitForWindowExposed(&base));
    KyDisplayViewTextSetting* dialog = base.textSetting();
    QVERIFY(dialog);
    auto* button = base.findChild<QPushButton*>("btnTextEdit");
    QMenu* menu = button->menu();
    QVERIFY(menu);
    base.hide();
    base.show();
    QCOMPARE(base.textSetting(), dialog);
    QCOMPARE(button->menu(), menu);

    QSignalSpy view(&base, &BasePropertyWidget::viewAttributeChanged);
    dialog->findChild<QPushButton*>("btnBold")->click();
    QCOMPARE(view.count(), 1);
    QVERIFY(base.viewAttribute().bold);
}

QTEST_MAIN(tst_PropertyWidgets)
#include "tst_propertywidgets.moc"
