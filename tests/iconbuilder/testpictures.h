#pragma once

// Pictures and GIFs the tests draw themselves: a position-coded gradient (pixel
// (x, y) is rgb(x % 256, y % 256, 128)) and animated GIFs written by ImageMagick.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>

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
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, gradientAt(x, y));
    return image;
}

struct GifRecipe
{
    QSize canvas;
    int frames = 3;
    bool partial = false;      // frames after the first are small blue patches
    bool transparent = false;  // the first frame is transparent but for its red top-left quarter
};

// Frame 0 is red; later frames are blue patches (partial) or whole frames in shades of green.
inline QByteArray makeGif(const GifRecipe& recipe)
{
    const size_t w = size_t(recipe.canvas.width());
    const size_t h = size_t(recipe.canvas.height());
    const size_t patch = std::max<size_t>(1, std::min(w, h) / 4);
    std::list<Magick::Image> frames;
    for (int i = 0; i < recipe.frames; ++i) {
        Magick::Image frame(Magick::Geometry(w, h), Magick::ColorRGB(0, double(i) / recipe.frames, 0));
        if (i == 0) {
            frame = Magick::Image(Magick::Geometry(w, h), Magick::Color(recipe.transparent ? "transparent" : "red"));
            frame.fillColor("red");
            frame.draw(Magick::DrawableRectangle(0, 0, double(w) / 2, double(h) / 2));
        } else if (recipe.partial) {
            frame = Magick::Image(Magick::Geometry(patch, patch), Magick::Color("blue"));
            frame.page(Magick::Geometry(w, h, ssize_t((i * 3) % (w - patch + 1)), 0));
        }
        frame.animationDelay(5);
        frame.gifDisposeMethod(Magick::NoneDispose);
        frames.push_back(frame);
    }
    frames.front().animationIterations(0);
    frames.front().magick("GIF");
    Magick::Blob blob;
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
