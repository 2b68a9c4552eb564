#pragma once
// Network channels of the web engine that no request interceptor sees:
// WebRTC's peer connections (UDP and TCP to any address, STUN and TURN
// messages carrying the page's data) and WebTransport (QUIC). The program
// uses neither, and no page of a view may.
class QWebEnginePage;

namespace WebChannels {
// Turns them off in the web engine for the whole process: WebTransport is
// gone from every window and worker, and peer connections send no UDP.
// Adds to the engine switches already given, in QTWEBENGINE_CHROMIUM_FLAGS
// or among argv, instead of replacing them. Call before the application
// object exists.
void CloseInEngine(int argc, char** argv);

// Removes the peer connection constructors from the frames of page as
// their documents are created. The engine runs the script late in a
// frame's first, empty document, or not at all: there a page that uses the
// constructors at once still has TCP.
void KeepPeerConnectionsOut(QWebEnginePage* page);
} // namespace WebChannels
