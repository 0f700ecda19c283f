#pragma once

#include <QByteArray>
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
    // The frames as one animated GIF, `delay` in hundredths of a second, looping `loops`
    // times (-1: for ever); empty if the writer fails.
    static QByteArray gif(const QList<QImage>& frames, int delay, int loops = -1);
    static bool writeGif(const QString& path, const QList<QImage>& frames, int delay);
    static QString lastError();
};
