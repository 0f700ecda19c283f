#pragma once

// Pictures and GIFs the tests draw themselves: a position-coded gradient (pixel
// (x, y) is rgb(x % 256, y % 256, 128)) and animated GIFs written by ImageMagick.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QSize>
#include <QString>

#include <Magick++.h>

#include <list>

namespace TestPictures {

inline QColor gradientAt(int x, int y)
{
    return QColor(x % 256, y % 256, 128);
}

inline QImage gradient(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = gradientAt(x, y).rgb();
    }
    return image;
}

struct GifSpec
{
    QSize canvas;
    int frames = 3;
    bool partial = false;      // frames after the first cover a small patch only
    bool transparent = false;  // the first frame is transparent outside a block
};

// Frame 0 is red (or transparent with a red block); later frames are blue patches
// (partial) or full frames in shades of green.
inline QByteArray makeGif(const GifSpec& spec)
{
    const size_t w = size_t(spec.canvas.width());
    const size_t h = size_t(spec.canvas.height());
    std::list<Magick::Image> frames;
    for (int i = 0; i < spec.frames; ++i) {
        Magick::Image frame;
        if (i == 0) {
            frame = Magick::Image(Magick::Geometry(w, h), Magick::Color(spec.transparent ? "transparent" : "red"));
            if (spec.transparent) {
                frame.fillColor("red");
                frame.draw(Magick::DrawableRectangle(0, 0, double(w) / 2, double(h) / 2));
            }
        } else if (spec.partial) {
            const size_t patch = std::max<size_t>(1, std::min(w, h) / 4);
            frame = Magick::Image(Magick::Geometry(patch, patch), Magick::Color("blue"));
            frame.page(Magick::Geometry(w, h, ssize_t((i * 3) % (w - patch + 1)), 0));
        } else {
            frame = Magick::Image(Magick::Geometry(w, h), Magick::ColorRGB(0, double(i) / spec.frames, 0));
        }
        frame.animationDelay(5);
        frame.gifDisposeMethod(Magick::NoneDispose);
        frames.push_back(frame);
    }
    frames.front().animationIterations(0);
    Magick::Blob blob;
    frames.front().magick("GIF");
    Magick::writeImages(frames.begin(), frames.end(), &blob, true);
    return QByteArray(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace TestPictures
