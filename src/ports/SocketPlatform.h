#pragma once

#include <QtGlobal>

// What the network link needs from the operating system's sockets, one file per platform.

// Ends the sending side of a connected socket (a TCP FIN); reading goes on.
void shutdownWriting(qintptr socket);
// Bytes the kernel holds that the peer has not acknowledged yet; 0 where it cannot say.
qint64 unacknowledgedBytes(qintptr socket);

// A second descriptor of the same connection, which stays open when Qt closes its own: Qt takes
// a reset for an orderly close, so the link reads the end of the connection itself. -1 when
// the system refuses.
qintptr duplicateSocket(qintptr socket);
void closeSocket(qintptr socket);

enum class PeerEnd {
    Open,   // nothing more to read for now
    Closed, // the peer closed its side in order
    Reset,  // the peer reset the connection, or it failed
};
// Reads and drops whatever the peer sent, without waiting; tells how the peer's side stands.
PeerEnd dropIncoming(qintptr socket);
