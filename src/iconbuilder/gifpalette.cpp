#include "gifpalette.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int kTableSize = 256;
constexpr int kOpaqueFrom = 128;

struct Entry
{
    quint32 rgb;      // 0x00RRGGBB
    quint32 weight;   // pixels of this colour
    size_t ordinal;   // rank among the frame's colours, by value
};

int channel(quint32 rgb, int axis)
{
    return int(rgb >> (16 - 8 * axis)) & 0xff;
}

// Weighted sums of a set of colours, enough for its mean and squared error.
struct Sums
{
    double w = 0;
    std::array<double, 3> c{};
    double squares = 0;

    void add(quint32 rgb, double weight)
    {
        w += weight;
        for (int axis = 0; axis < 3; ++axis) {
            const double v = channel(rgb, axis);
            c[size_t(axis)] += weight * v;
            squares += weight * v * v;
        }
    }
    void add(const Sums& other)
    {
        w += other.w;
        for (size_t axis = 0; axis < 3; ++axis)
            c[axis] += other.c[axis];
        squares += other.squares;
    }
    Sums minus(const Sums& other) const
    {
        Sums s = *this;
        s.w -= other.w;
        for (size_t axis = 0; axis < 3; ++axis)
            s.c[axis] -= other.c[axis];
        s.squares -= other.squares;
        return s;
    }
    double error() const
    {
        if (w <= 0)
            return 0;
        return squares - (c[0] * c[0] + c[1] * c[1] + c[2] * c[2]) / w;
    }
    QRgb mean() const
    {
        auto v = [this](size_t axis) { return qBound(0, int(c[axis] / w + 0.5), 255); };
        return qRgb(v(0), v(1), v(2));
    }
};

struct Box
{
    size_t begin;
    size_t end;
    Sums sums;
    double error;
    std::array<int, 3> low;
    std::array<int, 3> high;
};

Box makeBox(const std::vector<Entry>& entries, size_t begin, size_t end)
{
    Box box{begin, end, {}, 0, {255, 255, 255}, {0, 0, 0}};
    for (size_t i = begin; i < end; ++i) {
        box.sums.add(entries[i].rgb, entries[i].weight);
        for (int axis = 0; axis < 3; ++axis) {
            const int v = channel(entries[i].rgb, axis);
            box.low[size_t(axis)] = std::min(box.low[size_t(axis)], v);
            box.high[size_t(axis)] = std::max(box.high[size_t(axis)], v);
        }
    }
    box.error = box.sums.error();
    return box;
}

// Splits `box` on the axis and value that leave the least squared error in its two
// halves. Bins by channel value over the box's own range, so a split costs one pass
// over the box and one over that range.
bool split(std::vector<Entry>& entries, const Box& box, Box& low, Box& high)
{
    double best = -1;
    int bestAxis = 0;
    int bestValue = 0;
    std::array<Sums, 256> bins;
    for (int axis = 0; axis < 3; ++axis) {
        const int from = box.low[size_t(axis)];
        const int to = box.high[size_t(axis)];
        if (from == to)
            continue;
        std::fill(bins.begin() + from, bins.begin() + to + 1, Sums{});
        for (size_t i = box.begin; i < box.end; ++i)
            bins[size_t(channel(entries[i].rgb, axis))].add(entries[i].rgb, entries[i].weight);
        Sums below;
        for (int value = from; value < to; ++value) {
            below.add(bins[size_t(value)]);
            if (below.w <= 0)
                continue;
            const double error = below.error() + box.sums.minus(below).error();
            if (best < 0 || error < best) {
                best = error;
                bestAxis = axis;
                bestValue = value;
            }
        }
    }
    if (best < 0)
        return false;
    const auto middle = std::partition(entries.begin() + qsizetype(box.begin), entries.begin() + qsizetype(box.end),
                                       [&](const Entry& e) { return channel(e.rgb, bestAxis) <= bestValue; });
    const size_t cut = size_t(middle - entries.begin());
    low = makeBox(entries, box.begin, cut);
    high = makeBox(entries, cut, box.end);
    return true;
}

std::vector<Box> medianCut(std::vector<Entry>& entries, int maxBoxes)
{
    std::vector<Box> boxes{makeBox(entries, 0, entries.size())};
    while (int(boxes.size()) < maxBoxes) {
        auto worst = std::max_element(boxes.begin(), boxes.end(),
                                      [](const Box& a, const Box& b) { return a.error < b.error; });
        if (worst->error <= 0)
            break;
        Box low{}, high{};
        if (!split(entries, *worst, low, high)) {
            worst->error = 0;
            continue;
        }
        *worst = low;
        boxes.push_back(high);
    }
    return boxes;
}

} // namespace

GifPalette GifPalette::quantize(const QImage& frame)
{
    const QImage argb = frame.format() == QImage::Format_ARGB32_Premultiplied
        ? frame
        : frame.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = argb.width();
    const int h = argb.height();

    // Opaque pixels as straight RGB, transparent ones as a value no RGB takes, each
    // with its position, sorted by colour: runs of one colour are the histogram.
    constexpr quint64 kClear = 0xffffffffu;
    std::vector<quint64> pixels;
    pixels.reserve(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            const quint64 colour = qAlpha(p) < kOpaqueFrom ? kClear : (qUnpremultiply(p) & 0xffffffu);
            pixels.push_back(colour << 32 | quint64(pixels.size()));
        }
    }
    std::sort(pixels.begin(), pixels.end());

    std::vector<Entry> entries;
    bool clear = false;
    for (size_t i = 0; i < pixels.size();) {
        const quint64 colour = pixels[i] >> 32;
        size_t j = i;
        while (j < pixels.size() && pixels[j] >> 32 == colour)
            ++j;
        if (colour == kClear)
            clear = true;
        else
            entries.push_back({quint32(colour), quint32(j - i), entries.size()});
        i = j;
    }

    GifPalette palette;
    if (clear) {
        palette.m_transparent = 0;
        palette.m_colours.append(qRgba(0, 0, 0, 0));
    }
    const int first = int(palette.m_colours.size());
    const int room = kTableSize - first;
    std::vector<uchar> slotOf(entries.size());
    if (int(entries.size()) <= room) {
        for (const Entry& entry : entries) {
            slotOf[entry.ordinal] = uchar(palette.m_colours.size());
            palette.m_colours.append(qRgb(0, 0, 0) | entry.rgb);
        }
    } else {
        for (const Box& box : medianCut(entries, room)) {
            const uchar slot = uchar(palette.m_colours.size());
            palette.m_colours.append(box.sums.mean());
            for (size_t i = box.begin; i < box.end; ++i)
                slotOf[entries[i].ordinal] = slot;
        }
    }

    // The sorted pixels meet the colours in rank order; the transparent ones come last.
    palette.m_indices.resize(qsizetype(pixels.size()));
    char* out = palette.m_indices.data();
    size_t ordinal = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const quint64 colour = pixels[i] >> 32;
        if (i > 0 && colour != pixels[i - 1] >> 32)
            ++ordinal;
        out[pixels[i] & 0xffffffffu] = colour == kClear ? char(0) : char(slotOf[ordinal]);
    }
    return palette;
}
