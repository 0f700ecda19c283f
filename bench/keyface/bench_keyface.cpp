// Key faces: the key-down and key-up paths as an action runs them, on a face with a
// still icon and on one with an animated GIF; and a deck of 15 faces rendered to one
// image, against drawing the same icons and titles straight with QPainter.
// `--save DIR` also writes the rendered faces and the deck as PNG files.
#include "testimages.h"
#include "widgets/iconviewgrabber.h"
#include "widgets/kybasehotkeywidget.h"
#include "widgets/kydisplayviewattribute.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kPresses = 1000;
constexpr int kDeckRenders = 1000;
constexpr int kDeckColumns = 5;
constexpr int kDeckKeys = 15;
const QSize kFace(150, 108);
const QString kFamily = QStringLiteral("DejaVu Sans");

struct Figures
{
    double median = 0;
    double p99 = 0;
};

Figures figures(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, size_t(double(ms.size()) * 0.99))]};
}

double elapsedMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Key down as the Open URL action runs it.
void keyDown(KyBaseHotkeyWidget& face, const QString& title)
{
    face.setIconTitle(QString());
    const QPixmap view = IconViewGrabber::getCurrentView(&face);
    face.setIconTitle(title);
    face.setDownImage(view.scaled(100, 72, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    face.keyDown();
}

void keyUp(KyBaseHotkeyWidget& face, const QString& icon)
{
    face.setIconAsset(icon);
    face.keyUp();
}

// A still with some detail: a gradient, a ring and a bar, as key icons have.
QImage drawIcon(const QSize& size, const QColor& colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, colour.darker(180));
    gradient.setColorAt(1, colour);
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QPen(Qt::white, size.width() / 30.0));
    painter.drawEllipse(QRectF(size.width() * 0.35, size.height() * 0.08, size.width() * 0.3, size.height() * 0.38));
    painter.fillRect(QRectF(size.width() * 0.25, size.height() * 0.52, size.width() * 0.5, size.height() * 0.06),
                     Qt::white);
    return image;
}

void pressAndRelease(const char* name, KyBaseHotkeyWidget& face, const QString& icon, const QString& title)
{
    std::vector<double> down;
    std::vector<double> up;
    for (int i = 0; i < kPresses; ++i) {
        QCoreApplication::processEvents();  // paints and movie frames, outside the timing
        down.push_back(elapsedMs([&] { keyDown(face, title); }));
        QCoreApplication::processEvents();
        up.push_back(elapsedMs([&] { keyUp(face, icon); }));
    }
    const Figures d = figures(down);
    const Figures u = figures(up);
    std::printf("keyface.keydown.%s: median %.3f ms, p99 %.3f ms (%d presses)\n", name, d.median, d.p99, kPresses);
    std::printf("keyface.keyup.%s: median %.3f ms, p99 %.3f ms (%d releases)\n", name, u.median, u.p99, kPresses);
}

// A virtual deck: 15 faces in a 5 x 3 grid inside one shown widget, as a host lays
// them out, with the plain pictures and titles for the lower bound beside it.
struct Deck
{
    QWidget view;          // owns the faces
    QList<QPixmap> icons;  // the same pictures, fitted to the face once, as the faces hold them
    QStringList titles;
};

QPoint deckOffset(int index)
{
    return QPoint(index % kDeckColumns * kFace.width(), index / kDeckColumns * kFace.height());
}

QImage deckImage()
{
    QImage image(kFace.width() * kDeckColumns, kFace.height() * (kDeckKeys / kDeckColumns),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The faces draw their own background from their style sheet, so the deck is
// rendered as the package grabs a face: children only, no window background.
void renderWidgets(Deck& deck, QImage& image)
{
    QPainter painter(&image);
    deck.view.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

// The lower bound: the same icons and titles, straight onto the image.
void renderPainter(const Deck& deck, QImage& image, const QFont& font)
{
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::white);
    for (int i = 0; i < kDeckKeys; ++i) {
        const QPoint at = deckOffset(i);
        painter.drawPixmap(at, deck.icons.at(i));
        painter.drawText(QRect(at + QPoint(0, 72), QSize(150, 30)), Qt::AlignHCenter | Qt::AlignBottom,
                         deck.titles.at(i));
    }
}

void deckFigures(const QString& dir, const QString& saveDir)
{
    Deck deck;
    deck.view.resize(deckImage().size());
    KyDisplayViewAttribute attribute;
    attribute.family = kFamily;
    for (int i = 0; i < kDeckKeys; ++i) {
        const QString file = QDir(dir).filePath(QStringLiteral("deck_%1.png").arg(i));
        drawIcon(QSize(300, 216), QColor::fromHsv(i * 24, 200, 230)).save(file);
        deck.titles << QStringLiteral("Key %1").arg(i + 1);
        deck.icons << QPixmap::fromImage(KyBaseHotkeyWidget::processHotkeyIcon(QImage(file), kFace));
        auto* face = new KyBaseHotkeyWidget(&deck.view);
        face->move(deckOffset(i));
        face->setIconAsset(file);
        face->setIconTitle(deck.titles.last());
        face->adjustView(attribute);
    }
    deck.view.show();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QFont font(kFamily);
    font.setPixelSize(26);

    QImage widgets = deckImage();
    QImage direct = deckImage();
    renderWidgets(deck, widgets);  // warm both paths up: polish, glyph caches
    renderPainter(deck, direct, font);
    std::vector<double> widgetMs;
    std::vector<double> painterMs;
    for (int i = 0; i < kDeckRenders; ++i) {
        widgetMs.push_back(elapsedMs([&] { renderWidgets(deck, widgets); }));
        painterMs.push_back(elapsedMs([&] { renderPainter(deck, direct, font); }));
    }
    const Figures w = figures(widgetMs);
    const Figures p = figures(painterMs);
    std::printf("keyface.deck15.widgets: median %.3f ms, p99 %.3f ms (%d renders)\n", w.median, w.p99, kDeckRenders);
    std::printf("keyface.deck15.painter (lower bound): median %.3f ms, p99 %.3f ms (%d renders)\n", p.median, p.p99,
                kDeckRenders);
    std::printf("keyface.deck15.ratio widgets/painter (median): %.2fx\n", w.median / p.median);
    if (!saveDir.isEmpty()) {
        widgets.save(QDir(saveDir).filePath(QStringLiteral("deck_widgets.png")));
        direct.save(QDir(saveDir).filePath(QStringLiteral("deck_painter.png")));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(kFamily));
    const QStringList args = QCoreApplication::arguments();
    const int saveAt = args.indexOf(QStringLiteral("--save"));
    const QString saveDir = saveAt > 0 && saveAt + 1 < args.size() ? args.at(saveAt + 1) : QString();

    QTemporaryDir dir;
    const QString still = dir.filePath(QStringLiteral("still.png"));
    const QString gif = dir.filePath(QStringLiteral("anim.gif"));
    drawIcon(QSize(300, 216), QColor(0, 120, 215)).save(still);
    QList<QImage> frames;
    for (int i = 0; i < 12; ++i)
        frames << drawIcon(QSize(200, 144), QColor::fromHsv(i * 30, 200, 230));
    if (!TestImages::writeGif(gif, frames, 8)) {
        std::printf("keyface: FAILED to write the GIF: %s\n", qPrintable(TestImages::lastError()));
        return 1;
    }

    KyDisplayViewAttribute attribute;
    attribute.family = kFamily;
    KyBaseHotkeyWidget stillFace;
    KyBaseHotkeyWidget gifFace;
    for (auto* face : {&stillFace, &gifFace}) {
        face->setIconTitle(QStringLiteral("URL"));
        face->adjustView(attribute);
    }
    stillFace.setIconAsset(still);
    gifFace.setIconAsset(gif);
    stillFace.move(0, 0);
    gifFace.move(160, 0);
    stillFace.show();
    gifFace.show();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::printf("keyface: platform %s\n", qPrintable(QGuiApplication::platformName()));

    if (!saveDir.isEmpty()) {
        stillFace.grab().save(QDir(saveDir).filePath(QStringLiteral("face_still.png")));
        keyDown(stillFace, QStringLiteral("URL"));
        stillFace.grab().save(QDir(saveDir).filePath(QStringLiteral("face_still_pressed.png")));
        keyUp(stillFace, still);
        gifFace.grab().save(QDir(saveDir).filePath(QStringLiteral("face_gif.png")));
    }

    pressAndRelease("still", stillFace, still, QStringLiteral("URL"));
    pressAndRelease("gif", gifFace, gif, QStringLiteral("URL"));
    deckFigures(dir.path(), saveDir);
    return 0;
}
