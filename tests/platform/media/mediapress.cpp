// Presses play and stop through the default media-key service of a fresh process and
// prints the service's name: run by the tests on a bus of their choosing.
#include "platform/media/mediakeys.h"
#include "platform/media/mediakeyservice.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    playMedia();
    stopMedia();
    std::printf("%s\n", qPrintable(MediaKeyService::instance()->name()));
    return 0;
}
