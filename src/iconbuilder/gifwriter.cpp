#include "gifwriter.h"

#include "gifpalette.h"

#include <QIODevice>
#include <QImage>

#include <gif_lib.h>

namespace {

int writeToDevice(GifFileType* gif, const GifByteType* data, int length)
{
    auto* device = static_cast<QIODevice*>(gif->UserData);
    return int(device->write(reinterpret_cast<const char*>(data), length));
}

int tableBits(qsizetype colours)
{
    int bits = 1;
    while ((qsizetype(1) << bits) < colours)
        ++bits;
    return bits;
}

} // namespace

GifWriter::GifWriter(QIODevice* device, const QSize& canvas, int loopCount)
    : m_canvas(canvas)
{
    int error = 0;
    m_gif = EGifOpen(device, writeToDevice, &error);
    if (!m_gif) {
        fail(error, "open");
        return;
    }
    EGifSetGifVersion(m_gif, true);
    if (EGifPutScreenDesc(m_gif, canvas.width(), canvas.height(), 8, 0, nullptr) == GIF_ERROR) {
        fail(m_gif->Error, "screen");
        return;
    }
    if (loopCount == 0)
        return;
    const int repeats = loopCount < 0 ? 0 : qMin(loopCount, 0xffff);
    GifByteType loop[3] = {1, GifByteType(repeats & 0xff), GifByteType(repeats >> 8)};
    if (EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR
        || EGifPutExtensionBlock(m_gif, 11, "NETSCAPE2.0") == GIF_ERROR
        || EGifPutExtensionBlock(m_gif, 3, loop) == GIF_ERROR || EGifPutExtensionTrailer(m_gif) == GIF_ERROR)
        fail(m_gif->Error, "loop");
}

GifWriter::~GifWriter()
{
    if (m_gif)
        EGifCloseFile(m_gif, nullptr);
}

bool GifWriter::fail(int code, const char* step)
{
    if (m_error.isEmpty()) {
        const char* text = GifErrorString(code);
        m_error = QStringLiteral("GIF %1: %2").arg(QLatin1String(step), QString::fromLatin1(text ? text : "error"));
    }
    return false;
}

bool GifWriter::addFrame(const QImage& frame, int delayMs)
{
    if (!m_gif || !m_error.isEmpty())
        return false;
    if (frame.size() != m_canvas)
        return fail(E_GIF_ERR_DATA_TOO_BIG, "frame size");
    const GifPalette palette = GifPalette::quantize(frame);

    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_BACKGROUND;
    control.UserInputFlag = false;
    control.DelayTime = qBound(0, (delayMs + 5) / 10, 0xffff);
    control.TransparentColor = palette.transparentIndex() < 0 ? NO_TRANSPARENT_COLOR : palette.transparentIndex();
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_ERROR)
        return fail(m_gif->Error, "frame control");

    const QList<QRgb> colours = palette.colours();
    ColorMapObject* table = GifMakeMapObject(1 << tableBits(colours.size()), nullptr);
    if (!table)
        return fail(E_GIF_ERR_NOT_ENOUGH_MEM, "colour table");
    for (int i = 0; i < table->ColorCount; ++i) {
        const QRgb c = i < colours.size() ? colours[i] : 0;
        table->Colors[i] = {GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
    }
    const int w = m_canvas.width();
    bool ok = EGifPutImageDesc(m_gif, 0, 0, w, m_canvas.height(), false, table) != GIF_ERROR;
    GifFreeMapObject(table);
    // giflib takes the rows as non-const but only reads them.
    auto* pixels = reinterpret_cast<GifPixelType*>(const_cast<char*>(palette.indices().constData()));
    for (int y = 0; ok && y < m_canvas.height(); ++y)
        ok = EGifPutLine(m_gif, pixels + qsizetype(y) * w, w) != GIF_ERROR;
    return ok || fail(m_gif->Error, "frame");
}

bool GifWriter::finish()
{
    if (!m_gif)
        return false;
    int error = 0;
    const bool closed = EGifCloseFile(m_gif, &error) != GIF_ERROR;
    m_gif = nullptr;
    if (!closed)
        fail(error, "close");
    return m_error.isEmpty();
}

QString GifWriter::errorString() const
{
    return m_error;
}
