#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Renders pictures at key size (150 x 108) in the builder's five fitting modes.
// Decoding asks the reader only for what the mode shows (a scaled size or a clip),
// so a large photograph renders without decoding every pixel at full size.
class IconTransform
{
public:
    // Null image (logged) for an unknown mode or an unreadable picture.
    static QImage render(const QString& path, int mode);
    // The same from a picture file's bytes; null with why in `error`. Safe on a worker.
    static QImage render(const QByteArray& bytes, int mode, QString* error);
    static QImage render(const QImage& picture, int mode);

    // The size an animated GIF of `picture` size is converted to: the key box with
    // the picture's aspect ratio. An empty size gives the key size.
    static QSize gifSize(const QSize& picture);

    static bool isKnownMode(int mode);

private:
    static QImage fill(const QImage& scaled);
    static QImage fit(const QImage& scaled);
    static QImage tile(const QImage& picture);
    static QImage center(const QImage& picture);
    static QImage transparentCanvas();
    static QSize scaledSize(const QSize& picture, int mode);
    static QRect neededRect(const QSize& picture, int mode);
};
