// The icon builder as the user drives it, alone and from the property widget: where icons land, named never to
// overwrite; that only pictures that decode get there; that a GIF converts on a worker; which edits are the user's.
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/iconfilechooser.h"
#include "iconbuilder/iconfolder.h"
#include "modaldriver.h"
#include "plugin/hostcontext/kyvantaproxy.h"
#include "testfiles.h"
#include "testpictures.h"
#include "widgets/basepropertywidget.h"
#include "widgets/iconbuilder.h"
#include "widgets/iconstatewidget.h"
#include "widgets/kydisplayviewtextsetting.h"

#include <QtTest>
#include <QtWidgets>

using namespace TestPictures;

namespace {
QPushButton* button(QWidget* dialog, const QString& name) { return dialog->findChild<QPushButton*>(name); }
void clickWhenShown(const QString& name) { whenModal<QDialog>([name](QDialog* shown) { button(shown, name)->click(); }); }

// Clicks OK in the next dialog. A refused picture keeps the dialog open, saying why:
// the reason is taken and Cancel closes it.
std::shared_ptr<QString> okWhenShown()
{
    auto problem = std::make_shared<QString>();
    whenModal<QDialog>([problem](QDialog* shown) {
        button(shown, "btnOk")->click();
        auto* label = shown->findChild<QLabel*>("lblProblem");
        auto* poll = new QTimer(shown);
        QObject::connect(poll, &QTimer::timeout, shown, [=] {
            if (!label->isVisible())
                return;
            *problem = label->text();
            poll->stop();
            button(shown, "btnCancel")->click();
        });
        poll->start(20);
    });
    return problem;
}
// A PNG chunk: length, type, data, CRC.
QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    quint32 crc = 0xffffffff;
    for (const char byte : type + data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xedb88320 : crc >> 1;
    }
    QByteArray chunk;
    QDataStream out(&chunk, QIODevice::WriteOnly);
    out << quint32(data.size());
    out.writeRawData((type + data).constData(), int(type.size() + data.size()));
    out << quint32(~crc);
    return chunk;
}

// A PNG of `size` to any reader that asks, with no pixel data.
QByteArray pngHeader(const QSize& size)
{
    QByteArray header;
    QDataStream(&header, QIODevice::WriteOnly) << quint32(size.width()) << quint32(size.height()) << quint8(8)
                                               << quint8(2) << quint8(0) << quint8(0) << quint8(0);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", {}) + pngChunk("IEND", {});
}
// State buttons are the panel's only unnamed buttons, in the order of their states.
QList<QPushButton*> stateButtonsOf(QWidget* panel) { return panel->findChildren<QPushButton*>(QRegularExpression("^$")); }
} // namespace

class tst_DialogIconBuilder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(gradient(QSize(300, 300)).save(picture("photo.png")));
        QVERIFY(TestFiles::write(picture("anim.gif"), animation(QSize(480, 360), 4)));
        QVERIFY(TestFiles::write(picture("anim.GIF"), animation(QSize(200, 100), 3)));
        cleanup();
    }

    void cleanup()
    {
        KyVantaProxy::getInstance()->configDir = m_config.path();
        QDir(iconFolder()).removeRecursively();
        IconFileChooser::setHook({});
        QLoggingCategory::setFilterRules(QString());
    }

    void claimNeverOverwrites_data()
    {
        QTest::addColumn<QList<QDateTime>>("times");
        QTest::addColumn<QStringList>("expected");
        const QDateTime nine(QDate(2024, 5, 1), QTime(9, 12, 30));
        const QString stem = "202405011230";  // no hour in the name
        QTest::newRow("same second") << QList<QDateTime>{nine, nine, nine} << QStringList{stem, stem + "_1", stem + "_2"};
        QTest::newRow("same minute and second, other hour") << QList<QDateTime>{nine, nine.addSecs(3600)} << QStringList{stem, stem + "_1"};
    }

    void claimNeverOverwrites()
    {
        QFETCH(QList<QDateTime>, times);
        QFETCH(QStringList, expected);
        QStringList names;
        for (const QDateTime& when : times) {
            const QString path = IconFolder::claimNewFile(QString(), when);
            names << QFileInfo(path).fileName();
            QVERIFY(TestFiles::write(path, names.last().toUtf8()));  // taken by a key now
        }
        QCOMPARE(names, expected);
        for (const QString& name : expected)
            QCOMPARE(TestFiles::read(QDir(iconFolder()).filePath(name)), name.toUtf8());
    }

    void okStoresIcon_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");  // null: the good picture of that name
        QTest::addColumn<QString>("chosen");    // then picked inside the builder with its own file button
        QTest::addColumn<int>("mode");
        QTest::addColumn<QSize>("size");  // invalid: nothing decodes, nothing is stored
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("problem");  // shown in the dialog when nothing is stored
        const QByteArray good;
        // One 1 x 1 frame on a 20000 x 20000 canvas: 1525 MiB once decoded.
        const QByteArray huge = QByteArray::fromHex("474946383961204e204e800000ffffff0000002c000000000100010000020244013b");
        QTest::newRow("png gone before ok") << "gone.png" << good << "" << 4 << QSize(150, 108) << 1 << "";
        QTest::newRow("tall gif 100 x 400") << "tall.gif" << animation(QSize(100, 400), 3) << "" << 0 << QSize(27, 108) << 3 << "";
        QTest::newRow("png, then gif chosen") << "photo.png" << good << "anim.gif" << 0 << QSize(144, 108) << 4 << "";
        QTest::newRow("gif, then png chosen") << "anim.gif" << good << "photo.png" << 1 << QSize(150, 108) << 1 << "";
        QTest::newRow("empty png") << "empty.png" << QByteArray("") << "" << 0 << QSize() << 0 << "not a picture";
        QTest::newRow("corrupt png") << "bad.png" << QByteArray("\x89PNG\r\n\x1a\n garbage", 17) << "" << 2 << QSize() << 0 << "not a picture";
        QTest::newRow("damaged gif") << "bad.gif" << QByteArray("GIF89a this is not really a GIF") << "" << 0 << QSize() << 0 << "GIF";
        QTest::newRow("gif over the memory budget") << "huge.gif" << huge << "" << 0 << QSize() << 0 << "1525 MiB";
    }

    void okStoresIcon()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, chosen);
        QFETCH(int, mode);
        QFETCH(QSize, size);
        QFETCH(int, frames);
        QFETCH(QString, problem);
        const QString source = m_pictures.filePath(name);
        const bool gone = name == QLatin1String("gone.png");  // the preview is what the user saw; it is stored
        QVERIFY(bytes.isNull() ? !gone || QFile::copy(picture("photo.png"), source) : TestFiles::write(source, bytes));
        if (!size.isValid())
            QLoggingCategory::setFilterRules(QStringLiteral("systemdll.iconbuilder.warning=false"));  // logged, not shown
        const QByteArray original = TestFiles::read(source);

        DialogIconBuilder dialog;
        QSignalSpy changed(&dialog, &DialogIconBuilder::fileChanged);
        auto* modes = dialog.findChild<QComboBox*>("cbBuilderList");
        dialog.setImagePath(source);
        QCOMPARE(modes->isEnabled(), !name.endsWith(".gif"));  // the fitting modes apply to stills only
        if (!chosen.isEmpty()) {
            IconFileChooser::setHook([&](QWidget*, const QString&, const QString&, const QString& filter) {
                return filter.endsWith(QLatin1String("(*.jpg *.png *.gif)")) ? m_pictures.filePath(chosen) : QString();
            });
            button(&dialog, "btnOpenFile")->click();
            QCOMPARE(modes->isEnabled(), !chosen.endsWith(".gif"));
        }
        modes->setCurrentIndex(mode);
        const QImage preview = dialog.iconImage().convertToFormat(QImage::Format_ARGB32);
        if (frames > 1)  // a GIF's preview plays at the size it is stored at
            QCOMPARE(dialog.findChild<QLabel*>("imgIcon")->movie()->scaledSize(), size);
        QVERIFY(!gone || QFile::remove(source));
        const auto shownProblem = okWhenShown();
        QCOMPARE(dialog.exec(), int(size.isValid() ? QDialog::Accepted : QDialog::Rejected));
        QVERIFY2(problem.isEmpty() ? shownProblem->isEmpty() : shownProblem->contains(problem), qPrintable(*shownProblem));
        QCOMPARE(TestFiles::read(source), gone ? QByteArray() : original);  // the user's file is untouched

        const QString saved = dialog.getImagePath();
        QCOMPARE(QList<QVariantList>(changed), size.isValid() ? QList<QVariantList>{{iconFolder()}} : QList<QVariantList>());
        QCOMPARE(icons(), size.isValid() ? QStringList{QFileInfo(saved).fileName()} : QStringList());
        QCOMPARE(saved.isEmpty(), !size.isValid());
        if (!size.isValid())
            return;
        QVERIFY2(QRegularExpression("^\\d{12}(_\\d+)?\\.(png|gif)$").match(QFileInfo(saved).fileName()).hasMatch(), qPrintable(saved));
        QCOMPARE(QImageReader(saved).size(), size);
        QCOMPARE(QImageReader(saved).imageCount(), frames);
        if (frames == 1)
            QCOMPARE(QImage(saved).convertToFormat(QImage::Format_ARGB32), preview);
    }

    void largeStillsRenderOnTheWorker_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("decodes");
        QTest::newRow("4.4 megapixels") << QSize(2100, 2100) << true;
        // 3.4 GB whole: more than Qt lets one image take, and as slow to decode scaled.
        QTest::newRow("30000 x 30000, over the allocation limit") << QSize(30000, 30000) << false;
    }

    void largeStillsRenderOnTheWorker()
    {
        QFETCH(QSize, size);
        QFETCH(bool, decodes);
        const QString path = picture("large.png");
        QVERIFY(decodes ? gradient(size).save(path) : TestFiles::write(path, pngHeader(size)));
        DialogIconBuilder dialog;
        if (!decodes)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("a picture of 30000 x 30000 pixels, more than"));
        dialog.setImagePath(path);
        QVERIFY(dialog.isRendering());  // back before the picture is decoded; OK waits for it
        QVERIFY(!button(&dialog, "btnOk")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isRendering(), 120000);
        QVERIFY(button(&dialog, "btnOk")->isEnabled());
        QCOMPARE(dialog.iconImage().size(), decodes ? QSize(150, 108) : QSize(0, 0));
    }

    void cancelHalfWay()
    {
        // Long enough that the worker is still busy when the first progress step arrives.
        const QString source = picture("long.gif");
        QVERIFY(TestFiles::write(source, animation(QSize(480, 360), 150)));
        DialogIconBuilder dialog;
        dialog.setImagePath(source);
        int maximum = -1;
        whenModal<DialogIconBuilder>([&](DialogIconBuilder* shown) {
            auto* progress = shown->findChild<QProgressBar*>("progressConvert");
            // Progress reports are throttled: cancel on the first one seen while the worker is busy.
            connect(progress, &QProgressBar::valueChanged, shown, [&maximum, progress, shown](int value) {
                if (maximum >= 0 || value < 1 || !shown->isConverting())
                    return;
                maximum = progress->maximum();
                QVERIFY(progress->isVisible());
                button(shown, "btnCancel")->click();
            });
            button(shown, "btnOk")->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(maximum, 150);  // one step per frame
        QVERIFY(!dialog.isConverting());
        QCOMPARE(dialog.getImagePath(), QString());
        QCOMPARE(icons(), QStringList());
    }

    void saveExtAppIcon()
    {
        QPixmap pixmap(QSize(64, 32));
        pixmap.fill(Qt::green);
        const QStringList paths{DialogIconBuilder::saveExtAppIcon(pixmap), DialogIconBuilder::saveExtAppIcon(pixmap)};
        QCOMPARE(icons().size(), 2);  // the same second, yet no overwriting
        for (const QString& path : paths)
            QVERIFY(QImage(path).size() == QSize(150, 108) && QImage(path).pixelColor(0, 0) == QColor(Qt::green));
    }

    void noConfigDirStoresNothing()
    {
        // Without an icon folder nothing is stored, and the user's own file is not handed
        // back as if it were an icon.
        KyVantaProxy::getInstance()->configDir.clear();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no configuration directory")));
        const auto problem = okWhenShown();
        QCOMPARE(IconBuilder().getOpenFileName(picture("photo.png")), QString());
        QVERIFY2(problem->contains("icon folder"), qPrintable(*problem));
    }

    void drag()
    {
        // The frameless dialog follows a drag that starts on its title bar, and only that.
        DialogIconBuilder dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (const int y : {20, 200}) {
            const QPoint start = dialog.pos();
            QTest::mousePress(&dialog, Qt::LeftButton, {}, QPoint(100, y));
            QTest::mouseMove(&dialog, QPoint(130, y + 10));
            QTest::mouseRelease(&dialog, Qt::LeftButton, {}, QPoint(130, y + 10));
            QCOMPARE(dialog.pos() - start, y == 20 ? QPoint(30, 10) : QPoint(0, 0));
        }
    }

    void selectIconFile_data()
    {
        QTest::addColumn<QString>("leave");      // the pointer leaves the "menu" or this button first
        QTest::addColumn<QString>("menu");       // then this menu button is clicked, if the menu is still up
        QTest::addColumn<QString>("builder");    // button clicked in the icon builder; none: no file picked
        QTest::addColumn<QList<int>>("counts");  // chooser shown, folder changed, icon changed, build
        QTest::newRow("menu dismissed") << "menu" << "btnLocalDisk" << "" << QList<int>{0, 0, 0, 0};
        QTest::newRow("chooser cancelled, after leaving a button") << "btnIconBuilder" << "btnLocalDisk" << "" << QList<int>{1, 0, 0, 0};
        QTest::newRow("host's icon builder") << "" << "btnIconBuilder" << "" << QList<int>{0, 0, 0, 1};
        QTest::newRow("builder cancelled") << "" << "btnLocalDisk" << "btnCancel" << QList<int>{1, 1, 0, 0};
        QTest::newRow("builder accepted") << "" << "btnLocalDisk" << "btnOk" << QList<int>{1, 1, 1, 0};
    }

    void selectIconFile()
    {
        QFETCH(QString, leave);
        QFETCH(QString, menu);
        QFETCH(QString, builder);
        QFETCH(QList<int>, counts);
        BasePropertyWidget base;
        connect(&base, &BasePropertyWidget::iconFolderChanging, this, [](QString& folder) { folder = "/host/chosen"; });
        QSignalSpy changed(&base, &BasePropertyWidget::iconFolderChanged);
        QSignalSpy icon(&base, &BasePropertyWidget::pluginIconChanged);
        QSignalSpy build(&base, &BasePropertyWidget::buildIcon);
        QString folderShown;
        IconFileChooser::setHook([&](QWidget*, const QString&, const QString& folder, const QString&) {
            folderShown = folder;
            if (!builder.isEmpty())
                clickWhenShown(builder);
            return builder.isEmpty() ? QString() : picture("photo.png");
        });
        QPoint menuAt;
        whenModal<QDialog>([&menuAt, leave, menu](QDialog* dialog) {
            menuAt = dialog->pos();
            QEvent event(QEvent::Leave);
            if (!leave.isEmpty())
                QApplication::sendEvent(leave == QLatin1String("menu") ? dialog : dialog->findChild<QWidget*>(leave), &event);
            if (dialog->isVisible())
                button(dialog, menu)->click();
        });
        auto* select = base.findChild<QPushButton*>("btnSelect");
        select->click();
        QCOMPARE(menuAt - select->mapToGlobal(QPoint()), QPoint(-15, -5));  // the menu opens over the button

        QCOMPARE((QList<int>{!folderShown.isEmpty(), int(changed.count()), int(icon.count()), int(build.count())}), counts);
        QVERIFY2(folderShown.isEmpty() || folderShown == "/host/chosen", qPrintable(folderShown));  // the host's redirection
        QVERIFY(changed.isEmpty() || changed.at(0).at(0) == m_pictures.path());  // where the picture came from
        for (const QVariantList& report : icon) {  // state 0 now shows a copy in the icon folder
            QCOMPARE(base.pluginIconList(), (QStringList{report.at(1).toString()}));
            QVERIFY(report.at(0) == 0 && QFileInfo(report.at(1).toString()).absolutePath() == iconFolder());
        }
    }

    void switchingStates()
    {
        // Each state shows its own icon and title; only typing into the line edit is a user edit.
        BasePropertyWidget base;
        QSignalSpy title(&base, &BasePropertyWidget::pluginTitleChanged);
        QSignalSpy iconPath(&base, &BasePropertyWidget::pluginIconChanged);
        QSignalSpy index(base.iconStateWidget(), &IconStateWidget::iconIndexChanged);
        base.generateButtonsByStateNames({"old 1", "old 2", "old 3"}, true);  // replaced
        base.generateButtonsByStateNames({"on", "off"}, false);  // from the right
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QList<QPushButton*> states = stateButtonsOf(base.iconStateWidget());
        QVERIFY(states.size() == 2 && states[0]->x() > states[1]->x() && states[0]->isChecked() && index.isEmpty());
        base.setPluginIconList({picture("photo.png"), picture("anim.GIF")});
        base.setPluginTitleList({"On", "Off"});
        auto* icon = base.findChild<QLabel*>("lblIcon");
        QCOMPARE(icon->pixmap().size(), QSize(75, 54));  // a still, stretched over the preview

        base.setCurrentId(1);
        QCOMPARE(base.iconTitle(), QStringLiteral("Off"));
        QCOMPARE(icon->pixmap().size(), QSize(75, 37));  // a GIF, also in capitals, keeps its aspect ratio
        QCOMPARE(title.count() + iconPath.count(), 0);  // nothing so far was the user's
        QTest::keyClicks(base.titleEdit(), "Go");  // one signal per keystroke, for the current state
        QTest::keyClick(base.titleEdit(), Qt::Key_Backspace);
        QCOMPARE(title.count(), 3);
        QCOMPARE(title.at(2), (QList<QVariant>{1, QStringLiteral("OffG")}));
        QCOMPARE(base.pluginTitleList(), (QList<QString>{"On", "OffG"}));
        QCOMPARE(base.findChild<QLabel*>("lblImageText")->text(), QStringLiteral("OffG"));

        states[0]->click();  // the user's click
        QCOMPARE(base.iconTitle(), QStringLiteral("On"));
        QCOMPARE(icon->pixmap().size(), QSize(75, 54));
        QCOMPARE(title.count(), 3);
        base.onIconPathChanged(3, QStringLiteral("/icons/c.png"));  // past the list's end: grown with empty paths
        QCOMPARE(base.pluginIconList(), (QList<QString>{picture("photo.png"), picture("anim.GIF"), "", "/icons/c.png"}));

        // Less to change: one icon (no states), action mode (no icon, no text style), a missing plugin (no title).
        base.setPluginIconList({picture("photo.png")});
        base.setIconChangeable(false);
        base.setTextEditable(false);
        QVERIFY(states[0]->isHidden() && states[1]->isHidden() && !base.titleEdit()->isHidden());
        QVERIFY(base.findChild<QWidget*>("btnSelect")->isHidden() && base.findChild<QWidget*>("btnTextEdit")->isHidden());
        base.setPluginMissingMode();
        QVERIFY(base.titleEdit()->isHidden() && base.findChild<QWidget*>("lblImageText")->isHidden());
        base.setIconType(BaseIconProperty::Editable, true);  // the icon can be changed again
        QVERIFY(!base.findChild<QWidget*>("btnSelect")->isHidden());
    }

    void viewAttribute()
    {
        // Set by code before the first show: the pop-up made then shows it, and nothing is reported.
        BasePropertyWidget base;
        base.setTextEditable(true);
        QSignalSpy view(&base, &BasePropertyWidget::viewAttributeChanged);
        base.setViewAttribute({});
        base.adjustTextLabel({});
        base.show();
        QVERIFY(QTest::qWaitForWindowExposed(&base));
        KyDisplayViewTextSetting* popup = base.textSetting();
        QVERIFY(popup && popup->getViewAttribute() == base.viewAttribute());
        QCOMPARE(base.findChild<QLabel*>("lblImageText")->font().pixelSize(), 13);  // the size as given, no doubling
        popup->findChild<QPushButton*>("btnBold")->click();  // the user's edit in the pop-up
        QCOMPARE(view.count(), 1);
        QVERIFY(base.viewAttribute().bold);
    }

private:
    QString picture(const char* name) const { return m_pictures.filePath(QLatin1String(name)); }
    QString iconFolder() const { return QFileInfo(m_config.filePath(QStringLiteral("icon"))).absoluteFilePath(); }
    QStringList icons() const { return QDir(iconFolder()).entryList(QDir::Files); }
    QTemporaryDir m_pictures;
    QTemporaryDir m_config;
};

QTEST_MAIN(tst_DialogIconBuilder)
#include "tst_dialogiconbuilder.moc"
