// Fuzzed bytes as an icon file: the key face's still and GIF loading, the frames of
// a GIF the face plays, and the icon builder's fitting modes.
#include "fuzzsupport.h"
#include "iconbuilder/icontransform.h"
#include "widgets/gifanimation.h"
#include "widgets/kybasehotkeywidget.h"


namespace {
KyBaseHotkeyWidget* g_face = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::start();
    g_face = new KyBaseHotkeyWidget;
    return 0;
}

// First byte: bit 0 picks .gif over .png, the next bits the fitting mode.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const bool gif = data[0] & 1;
    const QString path =
        FuzzSupport::writeScratch(gif ? QStringLiteral("icon.gif") : QStringLiteral("icon.png"), data + 1, size - 1);

    g_face->setIconAsset(path);
    if (GifAnimation* animation = g_face->findChild<GifAnimation*>()) {
        for (int frame = 0; frame < 16 && animation->jumpToNextFrame(); ++frame)
            animation->currentFrame();
    }
    if (!gif)
        IconTransform::render(path, (data[0] >> 1) % 5);
    g_face->setIconAsset(QString());  // stops the movie before its file changes
    return 0;
}
