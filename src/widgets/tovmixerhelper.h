#pragma once

#include <QImage>
#include <QSize>

// Fits an image into a key-sized canvas: large images are scaled to cover it and
// cropped in the middle, small ones are centred on transparent padding, never enlarged.
class TovMixerHelper
{
public:
    static QImage getProcessPluginIcon(const QImage& image, const QSize& size);
    // The size at which an animated GIF of `image` size plays in a `box`: the box with
    // one side shrunk to keep the GIF's aspect ratio; equal ratios fill it.
    static QSize fitGifSize(const QSize& image, const QSize& box);
};
