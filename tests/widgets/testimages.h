#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

// Pictures the widget tests and the key-face benchmark generate for themselves:
// stills through Qt, animated GIFs through the package's own GIF writer.
class TestImages
{
public:
    static QImage solid(const QSize& size, const QColor& color);
    // Writes the frames as one animated GIF; `delay` in hundredths of a second.
    static bool writeGif(const QString& path, const QList<QImage>& frames, int delay);
    static QString lastError();
};
