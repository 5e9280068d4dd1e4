#pragma once

#include <QtGlobal>

// What the network link needs from the operating system's sockets, one file per platform.

// Ends the sending side of a connected socket (a TCP FIN); reading goes on.
void shutdownWriting(qintptr socket);
// Bytes the kernel holds that the peer has not acknowledged yet; 0 where it cannot say.
qint64 unacknowledgedBytes(qintptr socket);
