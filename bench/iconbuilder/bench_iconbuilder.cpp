// The icon builder's two heavy paths: fitting a 4000 x 3000 photograph to the key in
// each mode, and resizing a 100-frame 480 x 360 GIF to the key, against ImageMagick's
// and gifsicle's command lines on the same file in the same run, each scored by PSNR
// against an unquantised resize; and how long the GUI thread is held while the dialog
// converts (the longest gap between ticks of a 10 ms timer).
#include "iconbuilder/dialogiconbuilder.h"
#include "iconbuilder/gifframeresizer.h"
#include "iconbuilder/gifwriter.h"
#include "iconbuilder/icontransform.h"
#include "plugin/hostcontext/kyvantaproxy.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
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

QList<QImage> frames(const QString& path)
{
    QImageReader reader(path);
    QList<QImage> result;
    QImage frame;
    while (reader.read(&frame))
        result.append(frame.convertToFormat(QImage::Format_ARGB32));
    return result;
}

// Over all frames and the three colour channels; -1 when the frames do not match up.
double psnr(const QList<QImage>& reference, const QList<QImage>& result)
{
    if (reference.size() != result.size())
        return -1;
    double sum = 0;
    qint64 samples = 0;
    for (qsizetype f = 0; f < reference.size(); ++f) {
        if (reference[f].size() != result[f].size())
            return -1;
        for (int y = 0; y < reference[f].height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(reference[f].constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(result[f].constScanLine(y));
            for (int x = 0; x < reference[f].width(); ++x) {
                const int d[3] = {qRed(a[x]) - qRed(b[x]), qGreen(a[x]) - qGreen(b[x]), qBlue(a[x]) - qBlue(b[x])};
                sum += d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
                samples += 3;
            }
        }
    }
    return sum == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / (sum / double(samples)));
}

// Longest gaps between ticks of a 10 ms timer on the GUI thread: while the dialog only
// previews `gif` for a second (what this machine's load costs anyway), then while it
// converts it on OK.
struct GuiBlock
{
    double idleMs = -1;
    double convertingMs = -1;
};

GuiBlock longestGuiBlock(const QString& gif)
{
    DialogIconBuilder dialog;
    dialog.setImagePath(gif);
    dialog.show();
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    GuiBlock result;
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(100, &dialog, [&] {
        longest = 0;
        last = clock.elapsed();
        tick.start(10);
    });
    QTimer::singleShot(1100, &dialog, [&] {
        result.idleMs = double(longest);
        longest = 0;
        dialog.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    });
    loop.exec();
    if (dialog.result() == QDialog::Accepted)
        result.convertingMs = double(longest);
    return result;
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(600000) && process.exitCode() == 0;
}

// The real binary, not a wrapper script earlier on the PATH.
QString imageMagickConvert()
{
    const QString direct = QStandardPaths::findExecutable(QStringLiteral("convert"), {QStringLiteral("/usr/bin")});
    return direct.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("convert")) : direct;
}

// The input as before: the scene's frames written by ImageMagick with its defaults
// (dithered, so every frame is noisy); our own writer where it is not installed.
bool writeGif(const QString& path, const QTemporaryDir& dir)
{
    const QString convert = imageMagickConvert();
    if (!convert.isEmpty()) {
        QStringList arguments{"-delay", "4", "-loop", "0"};
        for (int i = 0; i < kGifFrames; ++i) {
            arguments << dir.filePath(QStringLiteral("scene%1.png").arg(i, 3, 10, QLatin1Char('0')));
            if (!scene(kGif, i).save(arguments.last()))
                return false;
        }
        return run(convert, arguments << path);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    GifWriter writer(&file, kGif, -1);
    for (int i = 0; i < kGifFrames; ++i)
        writer.addFrame(scene(kGif, i), 40);
    return writer.finish() && file.commit();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    KyVantaProxy::getInstance()->configDir = dir.path();
    const QString photo = dir.filePath(QStringLiteral("photo.jpg"));
    const QString gif = dir.filePath(QStringLiteral("in.gif"));
    if (!scene(kPhoto, 0).save(photo, "JPEG", 90) || !writeGif(gif, dir)) {
        std::printf("iconbuilder: FAILED to prepare the input files\n");
        return 1;
    }

    for (int mode = 0; mode < 5; ++mode) {
        const double ms = medianMs(kRuns, [&] { return !DialogIconBuilder::getIconTransform(photo, mode).isNull(); });
        std::printf("iconbuilder.getIconTransform 4000x3000 jpeg %-7s: median %.1f ms (target < 150 ms)\n",
                    kModeNames[mode], ms);
    }

    const QSize size = IconTransform::gifSize(kGif);
    const QString geometry = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    QList<QImage> reference;
    for (const QImage& frame : frames(gif))
        reference.append(frame.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));

    const QString ours = dir.filePath(QStringLiteral("ours.gif"));
    const double oursMs = medianMs(3, [&] { return GifFrameResizer::convertFile(gif, ours, size); });
    std::printf("iconbuilder.gifConvert %d frames 480x360 -> %s: median %.1f ms, PSNR %.1f dB\n", kGifFrames,
                qPrintable(geometry), oursMs, psnr(reference, frames(ours)));

    const QString convert = imageMagickConvert();
    if (convert.isEmpty()) {
        std::printf("iconbuilder.convert: skipped (not installed)\n");
    } else {
        const QString out = dir.filePath(QStringLiteral("cli.gif"));
        // One run: it takes far longer than the others.
        const double ms = medianMs(1, [&] { return run(convert, {gif, "-coalesce", "-resize", geometry, out}); });
        std::printf("iconbuilder.convert -coalesce -resize %s: %.1f ms, PSNR %.1f dB (ours %.0fx faster, "
                    "target >= 50x)\n",
                    qPrintable(geometry), ms, psnr(reference, frames(out)), ms / oursMs);
    }

    const QString gifsicle = QStandardPaths::findExecutable(QStringLiteral("gifsicle"));
    if (gifsicle.isEmpty()) {
        std::printf("iconbuilder.gifsicle: skipped (not installed)\n");
    } else {
        const QString out = dir.filePath(QStringLiteral("gifsicle.gif"));
        const double ms = medianMs(3, [&] { return run(gifsicle, {"--resize", geometry, gif, "-o", out}); });
        std::printf("iconbuilder.gifsicle --resize %s: median %.1f ms, PSNR %.1f dB (ours %.2fx faster, "
                    "target >= 1x)\n",
                    qPrintable(geometry), ms, psnr(reference, frames(out)), ms / oursMs);
    }

    const GuiBlock block = longestGuiBlock(gif);
    std::printf("iconbuilder.dialog GUI thread longest block during the conversion: %.0f ms (target <= 50 ms; "
                "%.0f ms while only previewing)\n",
                block.convertingMs, block.idleMs);
    return 0;
}
