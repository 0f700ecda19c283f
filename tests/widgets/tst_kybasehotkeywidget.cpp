// The key face, rendered with grab() as the host and the device see it: where the
// title sits and what its styles change, icons fitted to the face, GIFs playing, the
// pressed image under the click mask, and bad files giving an empty face.
#include "testimages.h"
#include "widgets/iconviewgrabber.h"
#include "widgets/kybasehotkeywidget.h"
#include "widgets/kydisplayviewattribute.h"
#include "widgets/tovmixerhelper.h"

#include <QLabel>
#include <QMovie>
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

int count(const QImage& image, const Test& test = ink)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
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

QImage renderTitle(int alignment, int size, bool bold, bool italic, bool underLine)
{
    KyDisplayViewAttribute attribute;
    attribute.family = QStringLiteral("DejaVu Sans");
    attribute.horAlignment = alignment;
    attribute.size = size;
    attribute.bold = bold;
    attribute.italic = italic;
    attribute.underLine = underLine;
    KyBaseHotkeyWidget face;
    face.setIconTitle(QStringLiteral("HIH"));
    face.adjustView(attribute);
    return render(face);
}

QLabel* label(QWidget& face, const char* name)
{
    return face.findChild<QLabel*>(QLatin1String(name));
}

} // namespace

class tst_KyBaseHotkeyWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void title_data();
    void title();
    void fitStill_data();
    void fitStill();
    void iconAsset_data();
    void iconAsset();
    void gifPlays();
    void pressedState();
    void grabber();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void tst_KyBaseHotkeyWidget::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(TestImages::solid({150, 108}, Qt::white).save(path("white.png")));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
}

void tst_KyBaseHotkeyWidget::title_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underLine");

    QTest::newRow("left") << int(Qt::AlignLeft) << 13 << false << false << false;
    QTest::newRow("right") << int(Qt::AlignRight) << 13 << false << false << false;
    QTest::newRow("centre 4") << int(Qt::AlignHCenter) << 13 << false << false << false;
    QTest::newRow("stored default 132") << 132 << 13 << false << false << false;
    QTest::newRow("size 18") << 132 << 18 << false << false << false;
    QTest::newRow("size 6 left") << int(Qt::AlignLeft) << 6 << false << false << false;
    QTest::newRow("bold") << 132 << 13 << true << false << false;
    QTest::newRow("italic") << 132 << 13 << false << true << false;
    QTest::newRow("underline") << 132 << 13 << false << false << true;
}

void tst_KyBaseHotkeyWidget::title()
{
    QFETCH(int, alignment);
    QFETCH(int, size);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underLine);

    const QImage image = renderTitle(alignment, size, bold, italic, underLine);
    const QRect box = bounds(image, image.rect());
    const QString where = QDebug::toString(box);
    // On the lower edge, in the label that ends at y = 101, drawn at twice the size.
    QVERIFY2(box.top() >= 108 - 2 * size - 10 && box.bottom() <= 101, qPrintable(where));
    QVERIFY2(box.bottom() >= 101 - size && box.height() >= size, qPrintable(where));
    if (alignment == Qt::AlignLeft)
        QVERIFY2(box.left() <= 6, qPrintable(where));
    else if (alignment == Qt::AlignRight)
        QVERIFY2(box.right() >= 143, qPrintable(where));
    else
        QVERIFY2(qAbs(box.left() + box.right() - 149) <= 4, qPrintable(where));
    if (!bold && !italic && !underLine)
        return;

    const QImage plain = renderTitle(alignment, size, false, false, false);
    const QRect plainBox = bounds(plain, plain.rect());
    QVERIFY(image != plain);
    if (bold)  // heavier strokes
        QVERIFY2(count(image) > count(plain) * 5 / 4, qPrintable(QString::number(count(image))));
    if (italic) {  // slanted: the top row of ink starts further right than the bottom row
        const QRect top = bounds(image, QRect(0, box.top(), 150, 2));
        const QRect bottom = bounds(image, QRect(0, box.bottom() - 1, 150, 2));
        QVERIFY2(top.left() > bottom.left() + 2, qPrintable(QDebug::toString(top) + QDebug::toString(bottom)));
    }
    if (underLine) {  // a line below the glyphs, nearly as wide as the text
        int widest = 0;
        for (int y = plainBox.bottom() + 1; y <= 101; ++y)
            widest = qMax(widest, bounds(image, QRect(0, y, 150, 1)).width());
        QVERIFY2(widest >= plainBox.width() * 8 / 10, qPrintable(QString::number(widest)));
    }
}

void tst_KyBaseHotkeyWidget::fitStill_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<QRect>("opaque");  // where the picture lands in the 150 x 108 result
    QTest::addColumn<QColor>("centre");

    auto framed = [](const QSize& size, const QRect& inner) {  // red edges a centre crop cuts away
        QImage image = TestImages::solid(size, Qt::red);
        QPainter(&image).fillRect(inner, Qt::green);
        return image;
    };
    QTest::newRow("300x300 cropped to the middle rows") << framed({300, 300}, QRect(0, 40, 300, 220))
                                                        << QRect(0, 0, 150, 108) << QColor(Qt::green);
    QTest::newRow("600x100 cropped to the middle columns") << framed({600, 100}, QRect(120, 0, 360, 100))
                                                           << QRect(0, 0, 150, 108) << QColor(Qt::green);
    QTest::newRow("50x50 centred, not enlarged") << TestImages::solid({50, 50}, Qt::blue) << QRect(50, 29, 50, 50)
                                                 << QColor(Qt::blue);
    QTest::newRow("palette image padded transparent")
        << TestImages::solid({20, 10}, Qt::magenta).convertToFormat(QImage::Format_Indexed8) << QRect(65, 49, 20, 10)
        << QColor(Qt::magenta);
    QTest::newRow("1-bit image padded transparent")
        << TestImages::solid({30, 30}, Qt::black).convertToFormat(QImage::Format_Mono) << QRect(60, 39, 30, 30)
        << QColor(Qt::black);
    QTest::newRow("null image gives a transparent face") << QImage() << QRect() << QColor();
}

void tst_KyBaseHotkeyWidget::fitStill()
{
    QFETCH(QImage, source);
    QFETCH(QRect, opaque);
    QFETCH(QColor, centre);

    const QImage fitted = KyBaseHotkeyWidget::processHotkeyIcon(source, QSize(150, 108));
    QCOMPARE(fitted, TovMixerHelper::getProcessPluginIcon(source, QSize(150, 108)));
    QCOMPARE(fitted.size(), QSize(150, 108));
    const QImage argb = fitted.convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(bounds(argb, argb.rect(), [](QRgb p) { return qAlpha(p) > 0; }), opaque);
    if (centre.isValid())
        QVERIFY(near(argb.pixel(75, 54), centre, 0));
    QCOMPARE(count(argb, [](QRgb p) { return qAlpha(p) > 0 && near(p, Qt::red, 40); }), 0);
}

void tst_KyBaseHotkeyWidget::iconAsset_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QSize>("gif");          // an animated GIF of this size; empty: a still
    QTest::addColumn<QByteArray>("bytes");   // otherwise these bytes ("png": a blue PNG); null: no file
    QTest::addColumn<QSize>("played");       // the movie's size; empty: no movie
    QTest::addColumn<bool>("empty");         // the face shows no icon, with a warning

    const QByteArray none;
    QTest::newRow("png still") << "still.png" << QSize() << QByteArray("png") << QSize() << false;
    QTest::newRow("GIF in capitals is a still") << "caps.GIF" << QSize(300, 216) << none << QSize() << false;
    QTest::newRow("gif 400x100 ratio 4") << "wide.gif" << QSize(400, 100) << none << QSize(150, 37) << false;
    QTest::newRow("gif 100x400") << "tall.gif" << QSize(100, 400) << none << QSize(27, 108) << false;
    QTest::newRow("gif of the face's ratio") << "face.gif" << QSize(300, 216) << none << QSize(150, 108) << false;
    QTest::newRow("gif 30x30 fitted up") << "small.gif" << QSize(30, 30) << none << QSize(108, 108) << false;
    QTest::newRow("missing png") << "missing.png" << QSize() << none << QSize() << true;
    QTest::newRow("damaged png") << "damaged.png" << QSize() << QByteArray("\x89PNG\r\n\x1a\n", 8) + "garbage"
                                 << QSize() << true;
    QTest::newRow("missing gif") << "missing.gif" << QSize() << none << QSize(150, 108) << true;
    QTest::newRow("damaged gif") << "damaged.gif" << QSize() << QByteArray("GIF89a\x01\x00", 8) << QSize(150, 108)
                                 << true;
    QTest::newRow("empty gif") << "empty.gif" << QSize() << QByteArray("") << QSize(150, 108) << true;
}

void tst_KyBaseHotkeyWidget::iconAsset()
{
    QFETCH(QString, fileName);
    QFETCH(QSize, gif);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, played);
    QFETCH(bool, empty);

    const QString file = path(fileName);
    if (gif.isValid())
        QVERIFY2(TestImages::writeGif(file, {TestImages::solid(gif, Qt::blue), TestImages::solid(gif, Qt::red)}, 4),
                 qPrintable(TestImages::lastError()));
    else if (bytes == "png")
        QVERIFY(TestImages::solid({300, 216}, Qt::blue).save(file));
    else if (!bytes.isNull())
        QVERIFY(TestImages::writeBytes(file, bytes));

    KyBaseHotkeyWidget face;
    face.hideText();
    face.setIconAsset(path("white.png"));  // a previous icon must not linger
    if (empty)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\\[KyBaseHotkeyWidget\\]\\[setIconAsset\\] unreadable"));
    face.setIconAsset(file);
    QLabel* icon = label(face, "lblIcon");
    QCOMPARE(icon->styleSheet(), QStringLiteral("border:0px;background-color:#00000000;"));

    QMovie* movie = icon->movie();
    QCOMPARE(movie != nullptr, !played.isEmpty());
    QCOMPARE(icon->hasScaledContents(), !movie);
    if (movie) {  // fitted inside the face, aspect kept, centred
        QCOMPARE(movie->scaledSize(), played);
        QCOMPARE(movie->fileName(), file);
        if (!empty)
            QTRY_COMPARE(movie->currentPixmap().size(), played);
    } else {
        QCOMPARE(icon->pixmap().size(), QSize(150, 108));
    }
    QTest::qWait(60);  // a still stays on its first frame; a broken movie tries its frames

    const QImage image = render(face);
    if (empty) {  // the bare face: its frame and background from its style sheet
        QVERIFY(near(image.pixel(0, 54), Qt::black, 0));
        QCOMPARE(count(image.copy(4, 4, 142, 100), [](QRgb p) { return !near(p, kFaceBackground, 0); }), 0);
        return;
    }
    QVERIFY(near(image.pixel(75, 54), Qt::blue, 20) || (movie && near(image.pixel(75, 54), Qt::red, 20)));
    const int top = (108 - played.height()) / 2;
    if (movie && top > 4)  // the face shows above a wide GIF
        QVERIFY(near(image.pixel(75, top - 2), kFaceBackground));
    if (!movie)
        QVERIFY(near(image.pixel(10, 100), Qt::blue));  // a still fills the face
}

void tst_KyBaseHotkeyWidget::gifPlays()
{
    const QString file = path(QStringLiteral("three.gif"));
    const QList<QColor> colours = {Qt::red, Qt::green, Qt::blue};
    QList<QImage> frames;
    for (const QColor& colour : colours)
        frames << TestImages::solid({150, 108}, colour);
    QVERIFY2(TestImages::writeGif(file, frames, 4), qPrintable(TestImages::lastError()));

    KyBaseHotkeyWidget face;
    face.hideText();
    face.show();
    QVERIFY(QTest::qWaitForWindowExposed(&face));
    face.setIconAsset(file);

    QSet<int> seen;  // every frame shows up in the rendered face
    QTRY_VERIFY_WITH_TIMEOUT(([&] {
                                 const QRgb pixel = render(face).pixel(75, 54);
                                 for (int i = 0; i < colours.size(); ++i)
                                     if (near(pixel, colours.at(i), 20))
                                         seen.insert(i);
                                 return seen.size() == colours.size();
                             }()),
                             10000);

    QMovie* movie = label(face, "lblIcon")->movie();
    face.setIconAsset(path("white.png"));  // a still replaces the movie and stops it
    QCOMPARE(movie->state(), QMovie::NotRunning);
    QVERIFY(!label(face, "lblIcon")->movie());
}

void tst_KyBaseHotkeyWidget::pressedState()
{
    // The same press over a red and a blue icon: where the renderings differ is where
    // the pressed image shows through the click mask, whatever the mask looks like.
    QImage pressed[2];
    const QColor colours[2] = {Qt::red, Qt::blue};
    for (int i = 0; i < 2; ++i) {
        const QString file = path(QStringLiteral("press_%1.png").arg(i));
        QVERIFY(TestImages::solid({150, 108}, colours[i]).save(file));
        KyBaseHotkeyWidget face;
        face.setIconAsset(file);
        face.setIconTitle(QStringLiteral("Go"));
        const QImage released = render(face);

        // Key down as an action runs it: title out, grab, title back, 100 x 72 fast.
        face.setIconTitle(QString());
        const QPixmap view = IconViewGrabber::getCurrentView(&face);
        face.setIconTitle(QStringLiteral("Go"));
        face.setDownImage(view.scaled(100, 72, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        face.keyDown();
        QCOMPARE(label(face, "lblIcon")->pixmap().size(), QSize(100, 72));
        QVERIFY(label(face, "lblMaskClick")->isVisibleTo(&face));
        pressed[i] = render(face);
        QVERIFY(!bounds(pressed[i], QRect(0, 72, 150, 30)).isEmpty());  // the title stays on top

        face.setIconAsset(file);  // key up as an action runs it
        face.keyUp();
        QVERIFY(!label(face, "lblMaskClick")->isVisibleTo(&face));
        QCOMPARE(render(face), released);
    }

    QRect differs;
    for (int y = 0; y < 108; ++y)
        for (int x = 0; x < 150; ++x)
            if (pressed[0].pixel(x, y) != pressed[1].pixel(x, y))
                differs |= QRect(x, y, 1, 1);
    // Centred 100 x 72, less the thin copy of the face's black frame in the grab.
    const QRect downImage(25, 18, 100, 72);
    QVERIFY2(downImage.contains(differs), qPrintable(QDebug::toString(differs)));
    QVERIFY2(differs.contains(downImage.adjusted(3, 3, -3, -3)), qPrintable(QDebug::toString(differs)));

    // The three masks are independent; the inactive one lies on top.
    KyBaseHotkeyWidget face;
    face.showInvalid();
    face.showInactive();
    face.keyDown();
    face.hideInvalid();
    QVERIFY(!label(face, "lblMaskInvalid")->isVisibleTo(&face));
    QVERIFY(label(face, "lblMaskInactive")->isVisibleTo(&face) && label(face, "lblMaskClick")->isVisibleTo(&face));
    QCOMPARE(face.findChildren<QLabel*>().last()->objectName(), QStringLiteral("lblMaskInactive"));

    // The face's frame follows a new style sheet (it is drawn once and kept).
    KyBaseHotkeyWidget restyled;
    QVERIFY(near(render(restyled).pixel(0, 54), Qt::black, 0));
    restyled.setStyleSheet(QStringLiteral("background-color: rgb(30, 30, 30); border: 2px solid red;"));
    QVERIFY(near(render(restyled).pixel(0, 54), Qt::red, 0));
}

void tst_KyBaseHotkeyWidget::grabber()
{
    QWidget widget;
    widget.resize(40, 30);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::red);
    widget.setPalette(palette);
    auto* child = new QLabel(&widget);
    child->setGeometry(10, 10, 10, 10);
    child->setStyleSheet(QStringLiteral("background-color: rgb(0,255,0);"));

    const QImage view = IconViewGrabber::getCurrentView(&widget).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(view.size(), QSize(40, 30));
    QCOMPARE(view.pixel(15, 15), qRgb(0, 255, 0));  // children drawn
    QCOMPARE(qAlpha(view.pixel(2, 2)), 0);          // the window background is not
    QCOMPARE(render(widget).pixel(2, 2), qRgb(255, 0, 0));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\\[IconViewGrabber\\]\\[getCurrentView\\] nothing to grab"));
    QVERIFY(IconViewGrabber::getCurrentView(nullptr).isNull());
}

QTEST_MAIN(tst_KyBaseHotkeyWidget)
#include "tst_kybasehotkeywidget.moc"
