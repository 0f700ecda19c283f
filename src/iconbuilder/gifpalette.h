#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

// One frame reduced to a GIF colour table: a weighted median cut over the frame's own
// colours, each split placed where it removes the most squared error. Pixels less
// than half opaque share one reserved transparent entry; the others lose their alpha.
// A frame with no more colours than the table holds keeps them exactly.
class GifPalette
{
public:
    // `frame` in any format; it is read as premultiplied ARGB.
    static GifPalette quantize(const QImage& frame);

    QList<QRgb> colours() const { return m_colours; }
    // Index of the transparent entry, or -1 when the frame has no transparent pixel.
    int transparentIndex() const { return m_transparent; }
    // One table index per pixel, row by row.
    const QByteArray& indices() const { return m_indices; }

private:
    QList<QRgb> m_colours;
    int m_transparent = -1;
    QByteArray m_indices;
};
