// The key face, rendered with grab() as the host and the device see it: where the
// title sits and what its styles change, icons fitted to the face, GIFs playing, the
// pressed image under the click mask, and bad files giving an empty face.
#include "testattribute.h"
#include "testfiles.h"
#include "testimages.h"
#include "widgets/iconstatewidget.h"
#include "widgets/iconviewgrabber.h"
#include "widgets/kybasehotkeywidget.h"

#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

const QColor kFaceBackground(30, 30, 30);
using Test = std::function<bool(QRgb)>;

bool ink(QRgb pixel)
{
    return qGray(pixel) > 128;  // white title on the dark face
}

QRect bounds(const QImage& image, const QRect& area, const Test& test = ink)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

bool near(QRgb a, const QColor& b, int tolerance = 8)
{
    return qAbs(qRed(a) - b.red()) <= tolerance && qAbs(qGreen(a) - b.green()) <= tolerance
        && qAbs(qBlue(a) - b.blue()) <= tolerance;
}

QImage render(QWidget& face)
{
    return face.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage renderTitle(int alignment, int size, int styles)
{
    KyBaseHotkeyWidget face;
    face.setIconTitle(QStringLiteral("HIH"));
    face.adjustView(makeAttribute(alignment, size, styles, QStringLiteral("DejaVu Sans")));
    return render(face);
}

} // namespace

class tst_KyBaseHotkeyWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(TestImages::writeGif(path("previous.gif"), {TestImages::solid({150, 108}, Qt::green)}, 4),
                 qPrintable(TestImages::lastError()));
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
    }

    void title_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("styles");

        QTest::newRow("left size 6") << int(Qt::AlignLeft) << 6 << int(Plain);
        QTest::newRow("right") << int(Qt::AlignRight) << 13 << int(Plain);
        QTest::newRow("stored default 132, size 18") << 132 << 18 << int(Plain);
        QTest::newRow("bold") << 132 << 13 << int(Bold);
        QTest::newRow("underline") << 132 << 13 << int(Underline);
    }

    void title()
    {
        QFETCH(int, alignment);
        QFETCH(int, size);
        QFETCH(int, styles);

        const QImage image = renderTitle(alignment, size, styles);
        const QRect box = bounds(image, image.rect());
        const QByteArray where = QDebug::toString(box).toLatin1();
        // On the lower edge, in the label that ends at y = 101, drawn at twice the size.
        QVERIFY2(box.top() >= 108 - 2 * size - 10 && box.bottom() <= 101, where);
        QVERIFY2(box.bottom() >= 101 - size && box.height() >= size, where);
        if (alignment == Qt::AlignLeft)
            QVERIFY2(box.left() <= 6, where);
        else if (alignment == Qt::AlignRight)
            QVERIFY2(box.right() >= 143, where);
        else
            QVERIFY2(qAbs(box.left() + box.right() - 149) <= 4, where);

        const QImage plain = renderTitle(alignment, size, Plain);
        const QRect plainBox = bounds(plain, plain.rect());
        if (styles == Bold)  // heavier strokes: wider glyphs
            QVERIFY2(box.width() > plainBox.width() + 2, where + QDebug::toString(plainBox).toLatin1());
        if (styles == Underline) {  // a line below the glyphs, nearly as wide as the text
            int widest = 0;
            for (int y = plainBox.bottom() + 1; y <= 101; ++y)
                widest = qMax(widest, bounds(image, QRect(0, y, 150, 1)).width());
            QVERIFY2(widest >= plainBox.width() * 8 / 10, qPrintable(QString::number(widest)));
        }
    }

    // Laid out whole, a title of a million characters takes seconds and hundreds of MB;
    // the face and the inspector's preview lay out its first thousand, and say so.
    void longTitleIsCut()
    {
        const QString title = QStringLiteral("HIH\n").repeated(250000);
        KyBaseHotkeyWidget face;
        IconStateWidget preview;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("title of 1000000 characters shows its first 1000$"));
        face.setIconTitle(title);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("title of 1000000 characters shows its first 1000$"));
        preview.setCurrentTitle(title);
        QCOMPARE(face.findChild<QLabel*>("lblTitle")->text(), title.left(1000));
        QCOMPARE(preview.findChild<QLabel*>("lblImageText")->text().size(), 1000);

        // A line wider than the face ends in an ellipsis; a short one stays whole.
        face.setIconTitle(QStringLiteral("A title far too long for any key\nshort"));
        auto* label = face.findChild<QLabel*>("lblTitle");
        const QStringList lines = label->text().split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith("A title") && lines[0].endsWith(QChar(0x2026)), qPrintable(lines[0]));
        QVERIFY(label->fontMetrics().horizontalAdvance(lines[0]) <= label->width());
        QCOMPARE(lines[1], QStringLiteral("short"));
    }

    void iconAsset_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QVariant>("content");  // a picture saved, a GIF size (blue, then red), raw bytes or no file
        QTest::addColumn<bool>("animated");
        QTest::addColumn<QColor>("centre");     // at the face's centre; invalid: the bare face, with a warning
        QTest::addColumn<QRect>("shown");       // where the icon covers the face

        auto framed = [](const QSize& size, const QRect& inner) {  // red edges a centre crop cuts away
            QImage image = TestImages::solid(size, Qt::red);
            QPainter(&image).fillRect(inner, Qt::green);
            return QVariant(image);
        };
        const QRect all(0, 0, 150, 108);
        QTest::newRow("300x300 cropped to the middle rows") << "square.png" << framed({300, 300}, {0, 40, 300, 220})
                                                            << false << QColor(Qt::green) << all;
        QTest::newRow("50x50 centred, not enlarged") << "small.png" << QVariant(TestImages::solid({50, 50}, Qt::blue))
                                                     << false << QColor(Qt::blue) << QRect(50, 29, 50, 50);
        QTest::newRow("GIF in capitals is a still") << "caps.GIF" << QVariant(QSize(300, 216)) << false
                                                    << QColor(Qt::blue) << all;
        QTest::newRow("gif 400x100 ratio 4") << "wide.gif" << QVariant(QSize(400, 100)) << true
                                             << QColor(Qt::blue) << QRect(0, 36, 150, 37);
        QTest::newRow("gif 30x30 fitted up") << "small.gif" << QVariant(QSize(30, 30)) << true
                                             << QColor(Qt::blue) << QRect(21, 0, 108, 108);
        // A one-pixel GIF on a canvas of 4100 x 1024: every frame would be decoded at that size.
        const QByteArray hugeCanvas = QByteArray::fromHex("47494638396104100004800000000000ffffff21f9"
                                                          "0401000000002c00000000010001000002024401003b");
        QTest::newRow("gif canvas over 2048 x 2048") << "huge.gif" << QVariant(hugeCanvas) << false << QColor()
                                                     << QRect();
        QTest::newRow("damaged png") << "damaged.png" << QVariant(QByteArray("\x89PNG\r\n\x1a\n", 8) + "garbage")
                                     << false << QColor() << QRect();
        QTest::newRow("damaged gif") << "damaged.gif" << QVariant(QByteArray("GIF89a\x01\x00", 8)) << false
                                     << QColor() << QRect();
    }

    void iconAsset()
    {
        QFETCH(QString, fileName);
        QFETCH(QVariant, content);
        QFETCH(bool, animated);
        QFETCH(QColor, centre);
        QFETCH(QRect, shown);

        const QString file = path(fileName);
        const QSize gif = content.toSize();
        if (content.typeId() == QMetaType::QImage)
            QVERIFY(content.value<QImage>().save(file, "PNG"));
        else if (content.typeId() == QMetaType::QSize)
            QVERIFY2(TestImages::writeGif(file, {TestImages::solid(gif, Qt::blue), TestImages::solid(gif, Qt::red)}, 4),
                     qPrintable(TestImages::lastError()));
        else if (content.isValid())
            QVERIFY(TestFiles::write(file, content.toByteArray()));

        KyBaseHotkeyWidget face;
        face.hideText();
        face.show();  // a face animates only while on screen
        face.setIconAsset(path("previous.gif"));  // the previous animation must neither linger nor play on
        if (!centre.isValid())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\\[KyBaseHotkeyWidget\\]\\[setIconAsset\\] unreadable"));
        face.setIconAsset(file);

        QTest::qWait(60);  // a broken animation tries its frames
        const QImage image = render(face);
        const QRect inside(4, 4, 142, 100);  // within the face's frame
        QCOMPARE(bounds(image, inside, [](QRgb p) { return !near(p, kFaceBackground, 0); }), shown & inside);
        if (!centre.isValid())
            return;
        if (!animated)  // a still shows its first frame only, and a crop leaves no red edge
            QVERIFY(bounds(image, image.rect(), [](QRgb p) { return near(p, Qt::red, 40); }).isEmpty());
        bool seen = false, red = false;  // a GIF shows its frames in turn
        QTRY_VERIFY(([&] {
            const QRgb pixel = render(face).pixel(75, 54);
            seen |= near(pixel, centre, 20);
            red |= near(pixel, Qt::red, 20);
            return seen && red == animated;
        }()));
    }

    void pressedState()
    {
        QVERIFY(TestImages::solid({150, 108}, Qt::blue).save(path("press.png")));
        KyBaseHotkeyWidget pressed;
        pressed.setIconAsset(path("press.png"));
        pressed.setIconTitle(QStringLiteral("Go"));
        const QImage released = render(pressed);

        // The action grabs the face for the down image (tst_actionrecords); any 100 x 72 image will do here.
        QPixmap image(100, 72);
        image.fill(Qt::blue);
        pressed.setDownImage(image);
        pressed.keyDown();
        QVERIFY(pressed.findChild<QLabel*>("lblMaskClick")->isVisibleTo(&pressed));
        const QImage down = render(pressed);
        QVERIFY(!bounds(down, QRect(0, 72, 150, 30)).isEmpty());  // the title stays on top
        // Where a red image renders otherwise is where the image shows through the mask, whatever the mask looks like.
        image.fill(Qt::red);
        pressed.setDownImage(image);
        const QImage redDown = render(pressed);
        QRect differs;
        for (int y = 0; y < 108; ++y)
            for (int x = 0; x < 150; ++x)
                if (down.pixel(x, y) != redDown.pixel(x, y))
                    differs |= QRect(x, y, 1, 1);
        QCOMPARE(differs, QRect(25, 18, 100, 72));  // centred

        pressed.setIconAsset(path("press.png"));  // key up as an action runs it
        pressed.keyUp();
        QCOMPARE(render(pressed), released);

        // The face's frame follows a new style sheet (it is drawn once and kept).
        KyBaseHotkeyWidget restyled;
        QVERIFY(near(render(restyled).pixel(0, 54), Qt::black, 0));
        // The grab leaves out the window background: the rounded corner stays (nearly) transparent.
        QVERIFY(qAlpha(IconViewGrabber::getCurrentView(&restyled).toImage().pixel(0, 0)) < 128);
        restyled.setStyleSheet(QStringLiteral("background-color: rgb(30, 30, 30); border: 2px solid red;"));
        QVERIFY(near(render(restyled).pixel(0, 54), Qt::red, 0));
    }

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_KyBaseHotkeyWidget)
#include "tst_kybasehotkeywidget.moc"
