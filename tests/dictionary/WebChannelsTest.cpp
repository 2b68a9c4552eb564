#include "DictionaryFixture.h"
#include "SessionTest.h"
#include "TestMain.h"
#include "platform/WebBrowser.h"
#include "platform/WebChannels.h"

#include <QNetworkDatagram>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtTest>

namespace {
constexpr int Wait = 20000;

// A remote description offering one candidate, with the page's data in it.
const QString OfferFunction = QStringLiteral(R"(
function offer(candidate) {
    var fingerprint = new Array(33).join('AB:').slice(0, -1);
    return ['v=0', 'o=- 1 2 IN IP4 127.0.0.1', 's=-', 't=0 0', 'a=group:BUNDLE 0',
            'm=application 9 UDP/DTLS/SCTP webrtc-datachannel', 'c=IN IP4 0.0.0.0',
            'a=ice-ufrag:pagedata', 'a=ice-pwd:pagedatapagedatapagedata', 'a=fingerprint:sha-256 ' + fingerprint,
            'a=setup:actpass', 'a=mid:0', 'a=sctp-port:5000', 'a=candidate:1 1 ' + candidate, ''].join('\r\n');
}
)");
// A page that takes the constructor named %1 from a window or worker (%3
// says which) and tries to reach the loopback port PORT with it (%2); its
// title says "missing" when the constructor is not there, "made" when the
// attempt went through and "refused" when it threw.
const QString ProbePage = "<!DOCTYPE html><title>waiting</title><body><script>\nvar keep = [];" + OfferFunction + QStringLiteral(R"(
function attempt(scope) {
    var C = scope['%1'];
    if (typeof C !== 'function')
        return 'missing';
    try { %2 } catch (e) { return 'refused'; }
    return 'made';
}
function report(what) { setTimeout(function () { document.title = what; }, 1000); }
%3
</script></body>)");

const QString Gathering = "var c = new C({iceServers: [%1]}); keep.push(c); c.createDataChannel('page data'); c.setLocalDescription();";
const QString Turn = "{urls: 'turn:127.0.0.1:PORT?transport=tcp', username: 'page data', credential: 'x'}";
const QString Answering = "var c = new C(); keep.push(c); c.setRemoteDescription({type: 'offer', sdp: offer('%1')}); c.setLocalDescription();";
const QString UdpCandidate = "udp 2122260223 127.0.0.1 PORT typ host";
const QString TcpCandidate = "tcp 1518280447 127.0.0.1 PORT typ host tcptype passive";
const QString Transport = "var t = new C('https://127.0.0.1:PORT/page-data'); keep.push(t); t.ready.catch(function () {}); t.closed.catch(function () {});";

const QString InMainFrame = "report(attempt(window));";
const QString InBlankFrame = "var f = document.createElement('iframe'); document.body.appendChild(f); report(attempt(f.contentWindow));";
const QString InSrcdocFrame = "var f = document.createElement('iframe'); f.srcdoc = '<script>parent.report(parent.attempt(window));<\\/script>'; document.body.appendChild(f);";
const QString InWorker = "var w = new Worker(URL.createObjectURL(new Blob(['var keep = []; ' + attempt + '; postMessage(attempt(self));'])));"
                         " w.onmessage = function (e) { report(e.data); }; w.onerror = function () { report('no worker'); };";

// A listener on the loopback that keeps whatever reaches it.
class Listener {
public:
    explicit Listener(bool tcp)
    {
        if (tcp) {
            m_tcp.listen(QHostAddress::LocalHost);
            QObject::connect(&m_tcp, &QTcpServer::newConnection, [this] {
                while (QTcpSocket* socket = m_tcp.nextPendingConnection()) {
                    m_received += "<connection>";
                    QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] { m_received += socket->readAll(); });
                }
            });
        } else {
            m_udp.bind(QHostAddress::LocalHost, 0);
            QObject::connect(&m_udp, &QUdpSocket::readyRead, [this] {
                while (m_udp.hasPendingDatagrams())
                    m_received += m_udp.receiveDatagram().data();
            });
        }
    }
    quint16 port() const { return m_tcp.isListening() ? m_tcp.serverPort() : m_udp.localPort(); }
    QByteArray received() const { return m_received; }

private:
    QByteArray m_received; // outlives the sockets that add to it
    QTcpServer m_tcp;
    QUdpSocket m_udp;
};
} // namespace

// WebRTC and WebTransport reach the network past the views' request filter;
// no page of a view can use them.
class WebChannelsTest : public SessionTest {
    Q_OBJECT

private slots:
    // The engine takes its switches from the arguments and then from the
    // environment, the last value of a switch counting: the channels' own
    // come last and keep the features others turn off.
    void engineSwitchesKeepThoseGiven_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("result");
        const QString ours = "--disable-blink-features=WebTransport --force-webrtc-ip-handling-policy=disable_non_proxied_udp";
        QTest::newRow("none") << "" << QStringList() << ours;
        QTest::newRow("others") << "--disable-gpu  --proxy-server=http://127.0.0.1:9" << QStringList{"-platform", "offscreen"}
                                << "--disable-gpu --proxy-server=http://127.0.0.1:9 " + ours;
        QTest::newRow("features in the environment")
            << "--disable-blink-features=Foo,Bar --disable-gpu" << QStringList()
            << "--disable-blink-features=Foo,Bar --disable-gpu --disable-blink-features=Foo,Bar,WebTransport "
               "--force-webrtc-ip-handling-policy=disable_non_proxied_udp";
        QTest::newRow("features among the arguments")
            << "" << QStringList{"--webEngineArgs", "--disable-blink-features=Foo,WebTransport"}
            << "--disable-blink-features=Foo,WebTransport --force-webrtc-ip-handling-policy=disable_non_proxied_udp";
        QTest::newRow("another address policy")
            << "--force-webrtc-ip-handling-policy=default" << QStringList()
            << "--force-webrtc-ip-handling-policy=default " + ours;
    }
    void engineSwitchesKeepThoseGiven()
    {
        QFETCH(QString, given);
        QFETCH(QStringList, arguments);
        QFETCH(QString, result);
        const QByteArray before = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        const auto restore = qScopeGuard([&] { qputenv("QTWEBENGINE_CHROMIUM_FLAGS", before); });
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", given.toUtf8());
        QList<QByteArray> bytes{"test"};
        for (const QString& a : arguments)
            bytes << a.toUtf8();
        QList<char*> argv;
        for (QByteArray& b : bytes)
            argv << b.data();
        WebChannels::CloseInEngine(int(argv.size()), argv.data());
        QCOMPARE(QString(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")), result);
    }

    void aPageSendsNothingPastTheFilter_data()
    {
        QTest::addColumn<QString>("constructor");
        QTest::addColumn<QString>("attempt");
        QTest::addColumn<bool>("tcp");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("reported");
        QTest::addColumn<bool>("getsThrough");

        const QList<std::tuple<const char*, QString, QString, bool>> channels{
            {"STUN server", "RTCPeerConnection", Gathering.arg("{urls: 'stun:127.0.0.1:PORT'}"), false},
            {"TURN over TCP", "RTCPeerConnection", Gathering.arg(Turn), true},
            {"made-up remote description", "RTCPeerConnection", Answering.arg(UdpCandidate), false},
            {"made-up remote description over TCP", "RTCPeerConnection", Answering.arg(TcpCandidate), true},
            {"webkitRTCPeerConnection", "webkitRTCPeerConnection", Gathering.arg("{urls: 'stun:127.0.0.1:PORT'}"), false},
            {"WebTransport", "WebTransport", Transport, false},
        };
        for (const auto& [name, constructor, attempt, tcp] : channels) {
            const bool peer = constructor != "WebTransport";
            QTest::addRow("%s, main frame", name) << constructor << attempt << tcp << InMainFrame << "missing" << false;
            // A fresh frame's window is the page's before any script of the
            // view's runs in it: its peer connections are there, and only
            // the engine's switches hold them back, which have nothing for
            // TCP. A web page reaches the network anyway; the program's own
            // pages run no script at all (below).
            QTest::addRow("%s, about:blank frame", name)
                << constructor << attempt << tcp << InBlankFrame << (peer ? "made" : "missing") << (peer && tcp);
            QTest::addRow("%s, srcdoc frame", name) << constructor << attempt << tcp << InSrcdocFrame << "missing" << false;
            if (!peer)
                QTest::addRow("%s, worker", name) << constructor << attempt << tcp << InWorker << "missing" << false;
        }
    }
    void aPageSendsNothingPastTheFilter()
    {
        QFETCH(QString, constructor);
        QFETCH(QString, attempt);
        QFETCH(bool, tcp);
        QFETCH(QString, where);
        QFETCH(QString, reported);
        QFETCH(bool, getsThrough);
        Listener listener(tcp);
        LocalWebServer server;
        server.pages["/probe.html"] =
            ProbePage.arg(constructor, QString(attempt).replace("PORT", QString::number(listener.port())), where).toUtf8();

        WebBrowser view;
        view.show();
        view.Navigate2(server.address("/probe.html"));
        const QStringList reports{"missing", "made", "refused", "no worker"};
        QTRY_VERIFY_WITH_TIMEOUT(reports.contains(view.title()), Wait);
        (void)QTest::qWaitFor([&] { return !listener.received().isEmpty(); }, getsThrough ? Wait : 500);
        if (getsThrough)
            QEXPECT_FAIL("", "a web page's fresh frame keeps its peer connections, and the engine has no switch for their TCP",
                         Continue);
        QCOMPARE(listener.received(), QByteArray());
        QCOMPARE(view.title(), reported);
    }

    // The pages of the program folder hold no scripts, and none runs there:
    // not in the page, its frames or its handlers. Each row tries a fresh
    // frame's peer connection over TCP, which the engine cannot hold back.
    void aLocalPageRunsNoScript_data()
    {
        QTest::addColumn<QString>("body");
        const QString attempt = "var f = document.createElement('iframe'); document.body.appendChild(f);"
                                " var c = new f.contentWindow.RTCPeerConnection(); window.keep = c;"
                                " c.setRemoteDescription({type: 'offer', sdp: SDP}); c.setLocalDescription();"
                                " document.title = 'ran';";
        QTest::newRow("script") << "<body><script>" + attempt + "</script>";
        QTest::newRow("load handler") << "<body onload=\"" + attempt + "\">";
        QTest::newRow("image error handler") << "<body><img src=\"none.png\" onerror=\"" + attempt + "\">";
        QTest::newRow("srcdoc frame") << "<body><iframe srcdoc=\"<body><script>" + attempt + "</script>\"></iframe>";
    }
    void aLocalPageRunsNoScript()
    {
        QFETCH(QString, body);
        Listener listener(true);
        const QString sdp = "top.offer('" + QString(TcpCandidate).replace("PORT", QString::number(listener.port())) + "')";
        const QString probe = "<!DOCTYPE html><title>waiting</title><script>" + OfferFunction + "</script>";
        QFile page(folder->file("pages/probe.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write((probe + QString(body).replace("SDP", sdp)).toUtf8());
        page.close();

        WebBrowser view;
        view.show();
        QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
        view.Navigate2("pages/probe.html");
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, Wait);
        (void)QTest::qWaitFor([&] { return !listener.received().isEmpty(); }, 2000);
        QCOMPARE(listener.received(), QByteArray());
        QCOMPARE(view.title(), QString("waiting"));
    }
};

ARC_TEST(WebChannelsTest)
#include "WebChannelsTest.moc"
