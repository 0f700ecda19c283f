// The key face, rendered with grab() as the host and the device see it: where the
// title sits, what the text styles change, stills fitted to the face, GIFs fitted and
// playing, the pressed image under the click mask, and bad files giving an empty face.
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
const QString kFamily = QStringLiteral("DejaVu Sans");

KyDisplayViewAttribute titleAttribute(int alignment, bool bold = false, bool italic = false, bool underLine = false,
                                      int size = 13)
{
    KyDisplayViewAttribute attribute;
    attribute.family = kFamily;
    attribute.horAlignment = alignment;
    attribute.bold = bold;
    attribute.italic = italic;
    attribute.underLine = underLine;
    attribute.size = size;
    return attribute;
}

bool isTitleInk(QRgb pixel)
{
    return qGray(pixel) > 128;
}

// Bounding box of the pixels inside `area` that satisfy `test`.
QRect bounds(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

int count(const QImage& image, const std::function<bool(QRgb)>& test)
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

QImage render(KyBaseHotkeyWidget& face)
{
    return face.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// A face without icon that shows `title` with `attribute`.
QImage renderTitle(const QString& title, const KyDisplayViewAttribute& attribute)
{
    KyBaseHotkeyWidget face;
    face.setIconTitle(title);
    face.adjustView(attribute);
    return render(face);
}

// The key-down path as an action runs it: title out, grab, title back, 100 x 72 fast.
void pressLikeAnAction(KyBaseHotkeyWidget& face, const QString& title)
{
    face.setIconTitle(QString());
    const QPixmap view = IconViewGrabber::getCurrentView(&face);
    face.setIconTitle(title);
    face.setDownImage(view.scaled(100, 72, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    face.keyDown();
}

QLabel* iconLabel(KyBaseHotkeyWidget& face)
{
    return face.findChild<QLabel*>(QStringLiteral("lblIcon"));
}

} // namespace

class tst_KyBaseHotkeyWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void titleAlignment_data();
    void titleAlignment();
    void titleStyles_data();
    void titleStyles();

    void fitStill_data();
    void fitStill();
    void stillIcon_data();
    void stillIcon();
    void gifSize_data();
    void gifSize();
    void gifPlays();
    void badFiles_data();
    void badFiles();

    void pressedState();
    void masks_data();
    void masks();
    void grabber();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void tst_KyBaseHotkeyWidget::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QApplication::setFont(QFont(kFamily));
    qInfo() << "platform" << QGuiApplication::platformName();
}

void tst_KyBaseHotkeyWidget::titleAlignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("expectedLeft");   // -1: centred instead
    QTest::addColumn<int>("expectedRight");
    QTest::addColumn<int>("labelTop");

    QTest::newRow("left") << int(Qt::AlignLeft) << 13 << 0 << -1 << 72;
    QTest::newRow("right") << int(Qt::AlignRight) << 13 << -1 << 149 << 72;
    QTest::newRow("centre 4") << int(Qt::AlignHCenter) << 13 << -1 << -1 << 72;
    QTest::newRow("stored default 132") << 132 << 13 << -1 << -1 << 72;
    QTest::newRow("size 18 centred") << int(Qt::AlignHCenter) << 18 << -1 << -1 << 62;
    QTest::newRow("size 6 left") << int(Qt::AlignLeft) << 6 << 0 << -1 << 86;
}

void tst_KyBaseHotkeyWidget::titleAlignment()
{
    QFETCH(int, alignment);
    QFETCH(int, size);
    QFETCH(int, expectedLeft);
    QFETCH(int, expectedRight);
    QFETCH(int, labelTop);

    const QImage image = renderTitle(QStringLiteral("HH"), titleAttribute(alignment, false, false, false, size));
    const QRect ink = bounds(image, image.rect(), isTitleInk);
    QVERIFY2(!ink.isEmpty(), "no title drawn");

    // On the lower edge: inside the label, which ends 6 px above the face's bottom.
    QVERIFY2(ink.top() >= labelTop && ink.bottom() <= 101, qPrintable(QDebug::toString(ink)));
    QVERIFY2(ink.bottom() >= 101 - size, qPrintable(QDebug::toString(ink)));  // sits low, not centred
    QVERIFY2(ink.height() >= size, qPrintable(QDebug::toString(ink)));        // drawn at twice the size

    if (expectedLeft >= 0)
        QVERIFY2(ink.left() - expectedLeft <= 6, qPrintable(QDebug::toString(ink)));
    if (expectedRight >= 0)
        QVERIFY2(expectedRight - ink.right() <= 6, qPrintable(QDebug::toString(ink)));
    if (expectedLeft < 0 && expectedRight < 0) {
        const int middle2 = ink.left() + ink.right();  // twice the middle, kept integral
        QVERIFY2(qAbs(middle2 - 149) <= 4, qPrintable(QDebug::toString(ink)));
    }
}

void tst_KyBaseHotkeyWidget::titleStyles_data()
{
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underLine");

    QTest::newRow("bold") << true << false << false;
    QTest::newRow("italic") << false << true << false;
    QTest::newRow("underline") << false << false << true;
    QTest::newRow("all three") << true << true << true;
}

void tst_KyBaseHotkeyWidget::titleStyles()
{
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underLine);

    const QString title = QStringLiteral("HIH");
    const QImage plain = renderTitle(title, titleAttribute(Qt::AlignHCenter));
    const QImage styled = renderTitle(title, titleAttribute(Qt::AlignHCenter, bold, italic, underLine));
    QVERIFY(plain != styled);

    const QRect plainInk = bounds(plain, plain.rect(), isTitleInk);
    const int plainCount = count(plain, isTitleInk);
    if (bold)  // heavier strokes
        QVERIFY2(count(styled, isTitleInk) > plainCount * 5 / 4,
                 qPrintable(QStringLiteral("%1 vs %2").arg(count(styled, isTitleInk)).arg(plainCount)));
    if (italic && !bold) {
        // Slanted strokes: the top row of ink starts further right than the bottom row.
        const QRect ink = bounds(styled, styled.rect(), isTitleInk);
        const QRect top = bounds(styled, QRect(0, ink.top(), 150, 2), isTitleInk);
        const QRect bottom = bounds(styled, QRect(0, ink.bottom() - 1, 150, 2), isTitleInk);
        QVERIFY2(top.left() > bottom.left() + 2, qPrintable(QDebug::toString(top) + QDebug::toString(bottom)));
    }
    if (underLine) {
        // A line under the glyphs, nearly as wide as the text.
        const QRect below(0, plainInk.bottom() + 1, 150, 101 - plainInk.bottom());
        int widest = 0;
        for (int y = below.top(); y <= below.bottom(); ++y)
            widest = qMax(widest, bounds(styled, QRect(0, y, 150, 1), isTitleInk).width());
        QVERIFY2(widest >= plainInk.width() * 8 / 10, qPrintable(QString::number(widest)));
    } else {
        const QRect below(0, plainInk.bottom() + 2, 150, 101 - plainInk.bottom() - 1);
        QVERIFY(bounds(styled, below, isTitleInk).isEmpty());
    }
}

void tst_KyBaseHotkeyWidget::fitStill_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<QRect>("opaque");      // where the picture lands in the 150 x 108 result
    QTest::addColumn<QColor>("centre");

    // Red edges that a centre crop must cut away.
    auto framed = [](const QSize& size, const QRect& inner) {
        QImage image = TestImages::solid(size, Qt::red);
        QPainter(&image).fillRect(inner, Qt::green);
        return image;
    };
    QTest::newRow("300x300 cropped to middle rows") << framed({300, 300}, QRect(0, 40, 300, 220))
                                                    << QRect(0, 0, 150, 108) << QColor(Qt::green);
    QTest::newRow("wide 600x100 cropped to middle columns") << framed({600, 100}, QRect(120, 0, 360, 100))
                                                            << QRect(0, 0, 150, 108) << QColor(Qt::green);
    QTest::newRow("50x50 centred, not enlarged") << TestImages::solid({50, 50}, Qt::blue) << QRect(50, 29, 50, 50)
                                                 << QColor(Qt::blue);
    QTest::newRow("exact size unchanged") << TestImages::solid({150, 108}, Qt::yellow) << QRect(0, 0, 150, 108)
                                          << QColor(Qt::yellow);
    QTest::newRow("151x20 scaled to cover") << TestImages::solid({151, 20}, Qt::cyan) << QRect(0, 0, 150, 108)
                                            << QColor(Qt::cyan);
    QImage palette = TestImages::solid({20, 10}, Qt::magenta).convertToFormat(QImage::Format_Indexed8);
    QTest::newRow("palette image padded transparent") << palette << QRect(65, 49, 20, 10) << QColor(Qt::magenta);
    QImage mono = TestImages::solid({30, 30}, Qt::black).convertToFormat(QImage::Format_Mono);
    QTest::newRow("1-bit image padded transparent") << mono << QRect(60, 39, 30, 30) << QColor(Qt::black);
    QTest::newRow("null image gives transparent face") << QImage() << QRect() << QColor();
}

void tst_KyBaseHotkeyWidget::fitStill()
{
    QFETCH(QImage, source);
    QFETCH(QRect, opaque);
    QFETCH(QColor, centre);

    const QImage fitted = KyBaseHotkeyWidget::processHotkeyIcon(source, QSize(150, 108));
    QCOMPARE(fitted, TovMixerHelper::getProcessPluginIcon(source, QSize(150, 108)));
    QCOMPARE(fitted.size(), QSize(150, 108));
    QVERIFY(fitted.hasAlphaChannel());
    const QImage argb = fitted.convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(bounds(argb, argb.rect(), [](QRgb p) { return qAlpha(p) > 0; }), opaque);
    if (centre.isValid()) {
        QVERIFY(near(argb.pixel(75, 54), centre, 0));
        // Nothing of the red frame survives the crop.
        QCOMPARE(count(argb, [](QRgb p) { return qAlpha(p) > 0 && near(p, Qt::red, 40); }), 0);
    }
}

void tst_KyBaseHotkeyWidget::stillIcon_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("format");

    QTest::newRow("png") << "icon.png" << "PNG";
    QTest::newRow("jpeg") << "icon.jpg" << "JPEG";
    QTest::newRow("GIF in capitals is a still") << "icon.GIF" << "GIF";
}

void tst_KyBaseHotkeyWidget::stillIcon()
{
    QFETCH(QString, fileName);
    QFETCH(QString, format);

    const QString file = path(fileName);
    if (format == QLatin1String("GIF"))
        QVERIFY2(TestImages::writeGif(file, {TestImages::solid({300, 216}, Qt::blue), TestImages::solid({300, 216}, Qt::red)}, 5),
                 qPrintable(TestImages::lastError()));
    else
        QVERIFY(TestImages::solid({300, 216}, Qt::blue).save(file, qPrintable(format)));

    KyBaseHotkeyWidget face;
    face.hideText();
    face.setIconAsset(file);
    QLabel* icon = iconLabel(face);
    QVERIFY(!icon->movie());
    QCOMPARE(icon->pixmap().size(), QSize(150, 108));
    QVERIFY(icon->hasScaledContents());
    QCOMPARE(icon->styleSheet(), QStringLiteral("border:0px;background-color:#00000000;"));

    const QImage image = render(face);
    QVERIFY(near(image.pixel(75, 54), Qt::blue));
    QVERIFY(near(image.pixel(10, 100), Qt::blue));  // the icon fills the face
    QTest::qWait(120);                              // a still stays still (first frame only)
    QVERIFY(near(render(face).pixel(75, 54), Qt::blue));
}

void tst_KyBaseHotkeyWidget::gifSize_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("played");

    QTest::newRow("400x100 ratio 4") << QSize(400, 100) << QSize(150, 37);
    QTest::newRow("100x400 tall") << QSize(100, 400) << QSize(27, 108);
    QTest::newRow("300x216 exactly the face ratio") << QSize(300, 216) << QSize(150, 108);
    QTest::newRow("150x108 unchanged") << QSize(150, 108) << QSize(150, 108);
    QTest::newRow("small 30x30 enlarged to the face height") << QSize(30, 30) << QSize(108, 108);
}

void tst_KyBaseHotkeyWidget::gifSize()
{
    QFETCH(QSize, source);
    QFETCH(QSize, played);

    const QString file = path(QStringLiteral("size_%1x%2.gif").arg(source.width()).arg(source.height()));
    QVERIFY2(TestImages::writeGif(file, {TestImages::solid(source, Qt::green), TestImages::solid(source, Qt::blue)}, 5),
             qPrintable(TestImages::lastError()));

    KyBaseHotkeyWidget face;
    face.setIconAsset(file);
    QMovie* movie = iconLabel(face)->movie();
    QVERIFY(movie);
    QCOMPARE(movie->fileName(), file);
    QCOMPARE(movie->scaledSize(), played);
    QCOMPARE(movie->state(), QMovie::Running);
    QVERIFY(!iconLabel(face)->hasScaledContents());
    QTRY_COMPARE(movie->currentPixmap().size(), played);

    // Centred in the face: the rows above and below a wide GIF show the face.
    const QImage image = render(face);
    QVERIFY(near(image.pixel(75, 54), Qt::green) || near(image.pixel(75, 54), Qt::blue));
    const int top = (108 - played.height()) / 2;
    if (top > 4)
        QVERIFY(near(image.pixel(75, top - 2), kFaceBackground));
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

    // Every frame shows up in the rendered face, in turn.
    QSet<int> seen;
    QTRY_VERIFY_WITH_TIMEOUT(([&] {
                                 const QRgb pixel = render(face).pixel(75, 54);
                                 for (int i = 0; i < colours.size(); ++i)
                                     if (near(pixel, colours.at(i), 20))
                                         seen.insert(i);
                                 return seen.size() == colours.size();
                             }()),
                             10000);

    // A still replaces the movie and stops it.
    QVERIFY(TestImages::solid({150, 108}, Qt::white).save(path("white.png")));
    QMovie* movie = iconLabel(face)->movie();
    face.setIconAsset(path("white.png"));
    QCOMPARE(movie->state(), QMovie::NotRunning);
    QVERIFY(!iconLabel(face)->movie());
}

void tst_KyBaseHotkeyWidget::badFiles_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");  // null: the file does not exist

    QTest::newRow("missing png") << "missing.png" << QByteArray();
    QTest::newRow("damaged png") << "damaged.png" << QByteArray("\x89PNG\r\n\x1a\n", 8) + "garbage";
    QTest::newRow("text named jpg") << "text.jpg" << QByteArray("not a picture");
    QTest::newRow("missing gif") << "missing.gif" << QByteArray();
    QTest::newRow("damaged gif") << "damaged.gif" << QByteArray("GIF89a\x01\x00", 8);
    QTest::newRow("empty gif") << "empty.gif" << QByteArray("");
    QTest::newRow("no suffix") << "nosuffix" << QByteArray("x");
}

void tst_KyBaseHotkeyWidget::badFiles()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);

    const QString file = path(fileName);
    if (!content.isNull())
        QVERIFY(TestImages::writeBytes(file, content));

    KyBaseHotkeyWidget face;
    face.hideText();
    QVERIFY(TestImages::solid({150, 108}, Qt::white).save(path("white.png")));
    face.setIconAsset(path("white.png"));  // a previous icon must not linger

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\\[KyBaseHotkeyWidget\\]\\[setIconAsset\\] unreadable"));
    face.setIconAsset(file);
    QTest::qWait(50);  // let a movie try its frames

    const QImage image = render(face);
    QVERIFY(near(image.pixel(0, 54), Qt::black, 0));  // the face's own frame, from its style sheet
    const QRect inner(4, 4, 142, 100);
    QCOMPARE(count(image.copy(inner), [](QRgb p) { return !near(p, kFaceBackground, 0); }), 0);
    if (QMovie* movie = iconLabel(face)->movie())
        QCOMPARE(movie->scaledSize(), QSize(150, 108));
}

void tst_KyBaseHotkeyWidget::pressedState()
{
    // The same press over a red and a blue icon: where the renderings differ is where
    // the pressed image shows through the click mask, whatever the mask looks like.
    QImage pressed[2];
    QImage released[2];
    const QColor colours[2] = {Qt::red, Qt::blue};
    for (int i = 0; i < 2; ++i) {
        const QString file = path(QStringLiteral("press_%1.png").arg(i));
        QVERIFY(TestImages::solid({150, 108}, colours[i]).save(file));
        KyBaseHotkeyWidget face;
        face.setIconAsset(file);
        face.adjustView(titleAttribute(Qt::AlignHCenter));
        face.setIconTitle(QStringLiteral("Go"));
        released[i] = render(face);

        pressLikeAnAction(face, QStringLiteral("Go"));
        QCOMPARE(iconLabel(face)->pixmap().size(), QSize(100, 72));
        QVERIFY(!iconLabel(face)->hasScaledContents());
        QVERIFY(face.findChild<QLabel*>("lblMaskClick")->isVisibleTo(&face));
        pressed[i] = render(face);

        face.setIconAsset(file);  // key up as an action runs it
        face.keyUp();
        QVERIFY(!face.findChild<QLabel*>("lblMaskClick")->isVisibleTo(&face));
        QCOMPARE(render(face), released[i]);
    }

    QRect differs;
    for (int y = 0; y < 108; ++y)
        for (int x = 0; x < 150; ++x)
            if (pressed[0].pixel(x, y) != pressed[1].pixel(x, y))
                differs |= QRect(x, y, 1, 1);
    // The scaled grab keeps a thin copy of the face's black border inside the 100 x 72.
    const QRect downImage(25, 18, 100, 72);
    QVERIFY2(downImage.contains(differs), qPrintable(QDebug::toString(differs)));
    QVERIFY2(differs.contains(downImage.adjusted(3, 3, -3, -3)), qPrintable(QDebug::toString(differs)));
    // Title drawn over the pressed image, as in the released face.
    const QRect titleArea(0, 72, 150, 30);
    QVERIFY(!bounds(pressed[0], titleArea, isTitleInk).isEmpty());

    const bool maskImage = QFile::exists(QStringLiteral(":/images/mainpage_btn_click.png"));
    if (!maskImage)
        QVERIFY(near(pressed[1].pixel(75, 40), Qt::blue, 0));  // nothing over it but a missing image
}

void tst_KyBaseHotkeyWidget::masks_data()
{
    QTest::addColumn<QStringList>("shown");  // methods called, in order

    QTest::newRow("none") << QStringList();
    QTest::newRow("click") << QStringList{"keyDown"};
    QTest::newRow("invalid") << QStringList{"showInvalid"};
    QTest::newRow("inactive") << QStringList{"showInactive"};
    QTest::newRow("all three") << QStringList{"keyDown", "showInvalid", "showInactive"};
    QTest::newRow("shown and hidden again") << QStringList{"keyDown", "showInvalid", "showInactive", "keyUp",
                                                           "hideInvalid", "hideInactive"};
}

void tst_KyBaseHotkeyWidget::masks()
{
    QFETCH(QStringList, shown);

    KyBaseHotkeyWidget face;
    const QImage before = render(face);
    const QHash<QString, std::function<void()>> calls = {
        {"keyDown", [&] { face.keyDown(); }},         {"keyUp", [&] { face.keyUp(); }},
        {"showInvalid", [&] { face.showInvalid(); }}, {"hideInvalid", [&] { face.hideInvalid(); }},
        {"showInactive", [&] { face.showInactive(); }}, {"hideInactive", [&] { face.hideInactive(); }},
    };
    for (const QString& method : shown)
        calls.value(method)();

    const struct {
        const char* label;
        const char* show;
        const char* hide;
        const char* image;
    } masks[] = {{"lblMaskClick", "keyDown", "keyUp", ":/images/mainpage_btn_click.png"},
                 {"lblMaskInvalid", "showInvalid", "hideInvalid", ":/images/mainpage_btn_invalid.svg"},
                 {"lblMaskInactive", "showInactive", "hideInactive", ":/images/mainpage_btn_disable.png"}};
    bool anyDrawn = false;
    for (const auto& mask : masks) {
        const int shows = shown.lastIndexOf(mask.show);
        const bool visible = shows >= 0 && shows > shown.lastIndexOf(mask.hide);
        QCOMPARE(face.findChild<QLabel*>(mask.label)->isVisibleTo(&face), visible);
        anyDrawn |= visible && QFile::exists(mask.image);
    }
    // The inactive mask lies on top of the others.
    const QList<QLabel*> labels = face.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(labels.last()->objectName(), QStringLiteral("lblMaskInactive"));
    // A mask changes the face only when its image is there; a missing image is harmless.
    QCOMPARE(render(face) != before, anyDrawn);
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
    QCOMPARE(widget.grab().toImage().pixel(2, 2), qRgb(255, 0, 0));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\\[IconViewGrabber\\]\\[getCurrentView\\] nothing to grab"));
    QVERIFY(IconViewGrabber::getCurrentView(nullptr).isNull());
}

QTEST_MAIN(tst_KyBaseHotkeyWidget)
#include "tst_kybasehotkeywidget.moc"
