#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// How the host reads a picture file, the package's rules kept on its own side: one open
// that never waits (a FIFO named like a picture would block the window), only a regular
// file below the cap, read whole and decoded from memory, never from the path again.
// Refused too: an SVG that refers to another file (its decoder would open that by name),
// a compressed SVG, a PNG chunk that announces more than the file holds, and a raster
// picture larger than Qt's allocation limit lets one image be.
class PictureFile
{
public:
    static constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

    // The file's bytes; empty with why (for a message) when they may not be decoded.
    static QByteArray read(const QString& path, QString* why);
    // A picture that covers `box` is decoded scaled down to the smallest size that still
    // covers it. Null with why when nothing decodes.
    static QImage decode(const QByteArray& bytes, const QSize& box, QString* why);
    static QImage load(const QString& path, const QSize& box, QString* why);

private:
    static QByteArray readOpened(const QString& path, QString* why);
    static QString contentRefusal(const QByteArray& bytes, int depth);
};
