#pragma once

class QTcpSocket;

namespace quorin {

// Lets the system notice a link that died without a word (a cable pulled, a peer gone
// without closing): TCP keepalive probes after kIdleSeconds without traffic, kProbes of
// them kProbeSeconds apart, and data the peer never acknowledges given up after
// kUnacknowledgedMs. The socket then reports an error, and the connection ends as if the
// peer had closed it. Nothing changes on the wire but TCP's own probes.
inline constexpr int kIdleSeconds = 10;
inline constexpr int kProbeSeconds = 3;
inline constexpr int kProbes = 3;
inline constexpr int kUnacknowledgedMs = 20000;

void WatchForDeadLink(QTcpSocket& socket);

} // namespace quorin
