#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QImageReader;

// The one way the package reads a picture file. The file is opened without waiting (a
// FIFO's open would block the GUI thread), only a regular file of at most kMaxBytes is
// read, at once and whole, and pictures are decoded from those bytes, never again from
// the path: a file swapped for a FIFO meanwhile is never opened. Bytes that would make
// a decoder read something else are refused too: an SVG that refers to another file
// (the SVG decoder opens it by name), a compressed SVG (not checked inside), and a PNG
// whose chunks announce more than the file holds (the decoder allocates what a chunk
// announces).
namespace ImageFile {
inline constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

// The whole file; empty, with why in `refusal` for the log, when it may not be read or
// its bytes may not be decoded.
QByteArray read(const QString& path, QString* refusal);
// Empty when `path` may be read; otherwise why not.
QString refusal(const QString& path);
// Empty when `bytes` may be handed to an image decoder; otherwise why not.
QString contentRefusal(const QByteArray& bytes);

// The most pixels a picture may have to be decoded: what Qt's allocation limit lets one
// image take whole. A larger raster picture takes as long to decode scaled as whole.
qint64 maxPixels();
// Empty when the picture `reader` is set to may be decoded (SVG scales for free).
QString sizeRefusal(QImageReader& reader);
// Decodes `bytes`; a picture that covers `box` is decoded scaled down to the smallest
// size that still covers it, aspect ratio kept. Null, with why in `error`, when nothing decodes.
QImage decode(const QByteArray& bytes, const QSize& box, QString* error);
// read, then decode.
QImage load(const QString& path, const QSize& box, QString* error);
}
