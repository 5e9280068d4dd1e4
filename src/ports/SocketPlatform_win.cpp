#include "SocketPlatform.h"

// The TCP statistics came with Windows 10 1703; where they are missing the query fails at run
// time and the link cannot say, as before.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0A00
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x0A000003

// In this order: mstcpip.h needs the types of winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include <mstcpip.h>
#include <windows.h>

void shutdownWriting(qintptr socket)
{
    ::shutdown(SOCKET(socket), SD_SEND);
}

// Bytes sent and not yet acknowledged, from the TCP statistics of Windows 10 1703 and later;
// older systems cannot say.
qint64 unacknowledgedBytes(qintptr socket)
{
    if (socket < 0)
        return 0;
    DWORD version = 0;
    TCP_INFO_v0 info{};
    DWORD returned = 0;
    if (::WSAIoctl(SOCKET(socket), SIO_TCP_INFO, &version, sizeof version, &info, sizeof info,
                   &returned, nullptr, nullptr) != 0)
        return 0;
    return qint64(info.BytesInFlight);
}

qintptr duplicateSocket(qintptr socket)
{
    WSAPROTOCOL_INFOW info{};
    if (socket < 0 || ::WSADuplicateSocketW(SOCKET(socket), ::GetCurrentProcessId(), &info) != 0)
        return -1;
    const SOCKET copy = ::WSASocketW(FROM_PROTOCOL_INFO, FROM_PROTOCOL_INFO, FROM_PROTOCOL_INFO,
                                     &info, 0, WSA_FLAG_OVERLAPPED);
    if (copy == INVALID_SOCKET)
        return -1;
    u_long nonBlocking = 1;
    ::ioctlsocket(copy, FIONBIO, &nonBlocking);
    return qintptr(copy);
}

void closeSocket(qintptr socket)
{
    if (socket >= 0)
        ::closesocket(SOCKET(socket));
}

PeerEnd dropIncoming(qintptr socket)
{
    // A peer that never stops sending gets a bounded share of each call.
    char buffer[4096];
    for (int reads = 0; reads < 16; ++reads) {
        const int got = ::recv(SOCKET(socket), buffer, sizeof buffer, 0);
        if (got > 0)
            continue;
        if (got == 0)
            return PeerEnd::Closed;
        return ::WSAGetLastError() == WSAEWOULDBLOCK ? PeerEnd::Open : PeerEnd::Reset;
    }
    return PeerEnd::Open;
}
