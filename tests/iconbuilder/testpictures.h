#pragma once

// Pictures and GIFs the tests draw themselves: a position-coded gradient (pixel (x, y) is rgb(x % 256, y % 256, 128))
// and GIFs written byte by byte with giflib, so every frame's rectangle, disposal, delay and transparency is as asked.

#include <QImage>

#include <gif_lib.h>

namespace TestPictures {

inline QRgb gradientAt(int x, int y)
{
    return qRgb(x % 256, y % 256, 128);
}

inline QImage gradient(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, gradientAt(x, y));
    return image;
}

// Colour table of every test GIF; index 0 serves as the transparent index.
inline const QList<QColor> kGifColours{QColor(255, 0, 255), Qt::red, Qt::green, Qt::blue, Qt::white, Qt::yellow};
enum GifColour { kHole = 0, kRed, kGreen, kBlue, kWhite, kYellow };
enum GifDisposal { kKeep = DISPOSE_DO_NOT, kBackground = DISPOSE_BACKGROUND, kPrevious = DISPOSE_PREVIOUS };

// A frame covers `cells` of the canvas split into a 4 x 4 grid, in one colour; `hole` (cells too) is left transparent.
struct GifFrame
{
    QRect cells;
    int colour = kRed;
    int disposal = kKeep;
    int delayCs = 5;
    QRect hole = {};
};

struct GifRecipe
{
    QSize canvas;
    QList<GifFrame> frames;
    int netscapeLoops = 0;  // -1: no loop block
};

inline QRect cellsToPixels(const QRect& cells, const QSize& canvas)
{
    const int x0 = cells.left() * canvas.width() / 4, x1 = (cells.right() + 1) * canvas.width() / 4;
    const int y0 = cells.top() * canvas.height() / 4, y1 = (cells.bottom() + 1) * canvas.height() / 4;
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

inline QByteArray makeGif(const GifRecipe& recipe)
{
    QByteArray out;
    auto write = [](GifFileType* gif, const GifByteType* data, int length) {
        static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
        return length;
    };
    int error = 0;
    GifFileType* gif = EGifOpen(&out, write, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* table = GifMakeMapObject(8, nullptr);
    for (int i = 0; i < 8; ++i) {
        const QColor c = kGifColours.value(i, Qt::black);
        table->Colors[i] = {GifByteType(c.red()), GifByteType(c.green()), GifByteType(c.blue())};
    }
    EGifPutScreenDesc(gif, recipe.canvas.width(), recipe.canvas.height(), 8, 0, table);
    GifFreeMapObject(table);
    if (recipe.netscapeLoops >= 0) {
        GifByteType loop[3] = {1, GifByteType(recipe.netscapeLoops & 0xff), GifByteType(recipe.netscapeLoops >> 8)};
        EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
        EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
        EGifPutExtensionBlock(gif, 3, loop);
        EGifPutExtensionTrailer(gif);
    }
    for (const GifFrame& frame : recipe.frames) {
        const QRect rect = cellsToPixels(frame.cells, recipe.canvas);
        const QRect hole = frame.hole.isEmpty() ? QRect() : cellsToPixels(frame.hole, recipe.canvas);
        GraphicsControlBlock control{frame.disposal, false, frame.delayCs, hole.isEmpty() ? NO_TRANSPARENT_COLOR : int(kHole)};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
        EGifPutImageDesc(gif, rect.x(), rect.y(), rect.width(), rect.height(), false, nullptr);
        QByteArray line(rect.width(), char(frame.colour));
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x)
                line[x - rect.left()] = char(hole.contains(x, y) ? kHole : frame.colour);
            EGifPutLine(gif, reinterpret_cast<GifPixelType*>(line.data()), rect.width());
        }
    }
    EGifCloseFile(gif, &error);
    return out;
}

// A red canvas, then `frames - 1` patches, blue top left and white bottom right by turns; looping for ever.
inline QByteArray animation(const QSize& canvas, int frames)
{
    GifRecipe recipe{canvas, {{QRect(0, 0, 4, 4), kRed}}};
    for (int i = 1; i < frames; ++i)
        recipe.frames.append({i % 2 ? QRect(0, 0, 1, 1) : QRect(3, 3, 1, 1), i % 2 ? kBlue : kWhite});
    return makeGif(recipe);
}

} // namespace TestPictures
