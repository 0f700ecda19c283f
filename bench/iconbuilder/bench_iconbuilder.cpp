// The icon builder's two heavy paths: fitting a 4000 x 3000 photograph to the key in
// each mode, and resizing a 100-frame 480 x 360 GIF, against ImageMagick's command
// line (and gifsicle when installed) on the same file.
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/icontransform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <Magick++.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <list>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr int kGifFrames = 100;
const QSize kPhoto(4000, 3000);
const QSize kGif(480, 360);
const char* const kModeNames[] = {"fill", "fit", "stretch", "tile", "center"};

double medianMs(int runs, const std::function<bool()>& work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!work())
            return -1;
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Smooth shapes and noise, so the JPEG decodes like a photograph.
QImage scene(const QSize& size, int phase)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor(30 + phase % 50, 90, 160));
    sky.setColorAt(1, QColor(220, 180, 90));
    painter.fillRect(image.rect(), sky);
    auto* random = QRandomGenerator::global();
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv(int(random->bounded(360)), 160, 220, 140));
        painter.setPen(Qt::NoPen);
        const int r = size.width() / 12;
        painter.drawEllipse(QPoint((i * 97 + phase * 5) % size.width(), (i * 53) % size.height()), r, r);
    }
    return image;
}

bool writeGif(const QString& path)
{
    std::list<Magick::Image> frames;
    for (int i = 0; i < kGifFrames; ++i) {
        const QImage rgb = scene(kGif, i).convertToFormat(QImage::Format_RGB888);
        Magick::Image frame(size_t(rgb.width()), size_t(rgb.height()), "RGB", Magick::CharPixel, rgb.constBits());
        frame.animationDelay(4);
        frames.push_back(frame);
    }
    Magick::writeImages(frames.begin(), frames.end(), path.toStdString(), true);
    return QFile::exists(path);
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitCode() == 0;
}

// The real binary, not a wrapper script earlier on the PATH.
QString imageMagickConvert()
{
    const QString direct = QStandardPaths::findExecutable(QStringLiteral("convert"), {QStringLiteral("/usr/bin")});
    return direct.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("convert")) : direct;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Magick::InitializeMagick(*argv);
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("photo.jpg"));
    const QString gif = dir.filePath(QStringLiteral("in.gif"));
    if (!scene(kPhoto, 0).save(photo, "JPEG", 90) || !writeGif(gif)) {
        std::printf("iconbuilder: FAILED to prepare the input files\n");
        return 1;
    }

    for (int mode = 0; mode < 5; ++mode) {
        const double ms = medianMs(kRuns, [&] { return !DialogIconBuilder::getIconTransform(photo, mode).isNull(); });
        std::printf("iconbuilder.getIconTransform 4000x3000 jpeg %-7s: median %.1f ms (target < 150 ms)\n",
                    kModeNames[mode], ms);
    }

    const QSize size = IconTransform::gifSize(kGif);
    const QString ours = dir.filePath(QStringLiteral("ours.gif"));
    DialogIconBuilder dialog;
    const double oursMs = medianMs(3, [&] { return dialog.gifConvert(gif, ours, size); });
    std::printf("iconbuilder.gifConvert %d frames 480x360 -> %dx%d: median %.1f ms\n", kGifFrames, size.width(),
                size.height(), oursMs);

    const QString convert = imageMagickConvert();
    const QString geometry = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    double cliMs = -1;
    if (convert.isEmpty()) {
        std::printf("iconbuilder.convert: skipped (not installed)\n");
    } else {
        const QString out = dir.filePath(QStringLiteral("cli.gif"));
        cliMs = medianMs(3, [&] { return run(convert, {gif, "-coalesce", "-resize", geometry, out}); });
        std::printf("iconbuilder.convert -coalesce -resize %s: median %.1f ms\n", qPrintable(geometry), cliMs);
        std::printf("iconbuilder.ratio gifConvert/convert: %.2fx\n", oursMs / cliMs);
    }

    const QString gifsicle = QStandardPaths::findExecutable(QStringLiteral("gifsicle"));
    if (gifsicle.isEmpty()) {
        std::printf("iconbuilder.gifsicle: skipped (not installed)\n");
    } else {
        const QString out = dir.filePath(QStringLiteral("gifsicle.gif"));
        const double ms = medianMs(3, [&] { return run(gifsicle, {"--resize-fit", geometry, gif, "-o", out}); });
        std::printf("iconbuilder.gifsicle --resize-fit %s: median %.1f ms", qPrintable(geometry), ms);
        if (cliMs > 0)
            std::printf(" (ratio to convert %.2fx)", ms / cliMs);
        std::printf("\n");
    }
    return 0;
}
