// Fuzzed bytes as a GIF to convert for a key: the frame resizer's budgets and Qt's
// composition of each frame, every frame's palette and the writer. What it writes must
// read back as a GIF of the size asked for, with a palette index for every pixel.
#include "fuzzsupport.h"
#include "iconbuilder/gifframeresizer.h"
#include "iconbuilder/gifpalette.h"
#include "iconbuilder/gifwriter.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <cstdlib>

namespace {
// A user who waits this long cancels: a run stays short whatever the frame count.
constexpr int kFramesBeforeCancel = 48;

void check(bool holds)
{
    if (!holds)
        abort();
}

// The palette on its own, for pixels no GIF decoder made: 8 pixels a row of raw ARGB.
void quantizeRaw(const uint8_t* data, size_t size)
{
    const int rows = int(qMin<size_t>(size / 32, 64));
    if (rows == 0)
        return;
    QImage frame(8, rows, QImage::Format_ARGB32);
    for (int y = 0; y < rows; ++y)
        memcpy(frame.scanLine(y), data + y * 32, 32);
    const GifPalette palette = GifPalette::quantize(frame);
    const qsizetype colours = palette.colours().size();
    check(colours >= 1 && colours <= 256 && palette.indices().size() == 8 * rows);
    check(palette.transparentIndex() < colours);
    for (const char index : palette.indices())
        check(uchar(index) < colours);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::start();
    GifFrameResizer::limitReaderAllocation();
    return 0;
}

// First byte: the size written (0: the key-face rule for the canvas), then the GIF.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QSize target = data[0] ? QSize(1 + data[0] % 150, 1 + data[0] % 108) : QSize();
    const QByteArray gif(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    int asked = 0;
    GifFrameResizer::Progress progress;
    progress.cancelled = [&asked] { return ++asked > kFramesBeforeCancel; };
    const QByteArray written = GifFrameResizer::convert(gif, target, progress);
    if (!written.isEmpty()) {
        QBuffer buffer;
        buffer.setData(written);
        QImageReader reader(&buffer, "gif");
        check(!target.isValid() || reader.size() == target);
        check(reader.imageCount() >= 1 && reader.imageCount() <= GifFrameResizer::kMaxFrames);
    }
    quantizeRaw(data + 1, size - 1);
    return 0;
}
