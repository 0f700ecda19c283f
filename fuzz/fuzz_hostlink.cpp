// The package's end of the host link: a real local server sends each fuzzed input as
// one text message (or, if the first byte is odd, as binary) to a connected delegate.
#include "fuzzsupport.h"
#include "plugin/hostcontext/kyvantaproxy.h"
#include "plugin/kymixerplugindelegate.h"

#include <QWebSocket>
#include <QWebSocketServer>

namespace {
QWebSocketServer* g_server = nullptr;
QWebSocket* g_peer = nullptr;
KyMixerPluginDelegate* g_delegate = nullptr;
int g_responses = 0;

void connectDelegate()
{
    delete g_delegate;
    g_peer = nullptr;
    g_delegate = new KyMixerPluginDelegate;
    QObject::connect(g_delegate, &KyMixerPluginDelegate::response, [](const QJsonObject&) { ++g_responses; });
    g_delegate->connectToServer();
    for (int i = 0; i < 200 && !g_peer; ++i)
        FuzzSupport::settle(5);
    if (!g_peer)
        abort();
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::start();
    g_server = new QWebSocketServer(QStringLiteral("fuzz"), QWebSocketServer::NonSecureMode);
    if (!g_server->listen(QHostAddress::LocalHost, 0))
        abort();
    QObject::connect(g_server, &QWebSocketServer::newConnection, [] {
        while (QWebSocket* socket = g_server->nextPendingConnection())
            g_peer = socket;
    });
    KyVantaProxy::getInstance()->port = g_server->serverPort();
    connectDelegate();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray message(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const int before = g_responses;
    if (data[0] & 1)
        g_peer->sendBinaryMessage(message);
    else
        g_peer->sendTextMessage(QString::fromUtf8(message));
    g_peer->flush();
    // A text message always gets exactly one answer; a binary one none.
    for (int i = 0; i < 400 && g_responses == before && !(data[0] & 1); ++i)
        FuzzSupport::settle(1);
    if (!(data[0] & 1) && g_responses != before + 1)
        abort();
    if (data[0] & 1)
        FuzzSupport::settle(0);
    return 0;
}
