#include "WebChannels.h"

#include <QStringList>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {
constexpr char EngineSwitches[] = "QTWEBENGINE_CHROMIUM_FLAGS";
const QString FeaturesOff = "--disable-blink-features=";
// Chromium keeps one value of a switch given twice, so the features turned
// off are given once, those asked for elsewhere included.
const QStringList ChannelFeatures = {"WebTransport"};
// No UDP from peer connections: no STUN, no UDP candidates, no TURN over UDP.
const QString NoPeerUdp = "--force-webrtc-ip-handling-policy=disable_non_proxied_udp";

// Run in each frame as its document is created, before the page's scripts.
const QString PeerConnectionsOut = "delete window.RTCPeerConnection; delete window.webkitRTCPeerConnection;";

// The features the switches turn off, in the order given.
QStringList featuresTurnedOff(const QStringList& switches)
{
    QStringList features;
    for (const QString& s : switches)
        if (s.startsWith(FeaturesOff))
            features += s.mid(FeaturesOff.size()).split(',', Qt::SkipEmptyParts);
    return features;
}
} // namespace

void WebChannels::CloseInEngine(int argc, char** argv)
{
    QStringList given = QString::fromLocal8Bit(qgetenv(EngineSwitches)).split(' ', Qt::SkipEmptyParts);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QStringList off = featuresTurnedOff(arguments + given) + ChannelFeatures;
    off.removeDuplicates();
    // The environment's switches come after the arguments, and the last
    // value of a switch counts.
    given << FeaturesOff + off.join(',') << NoPeerUdp;
    qputenv(EngineSwitches, given.join(' ').toLocal8Bit());
}

void WebChannels::KeepPeerConnectionsOut(QWebEnginePage* page)
{
    QWebEngineScript script;
    script.setName("PeerConnectionsOut");
    script.setSourceCode(PeerConnectionsOut);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    page->scripts().insert(script);
}
