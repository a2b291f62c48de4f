// Windows Sockets side of the UDP link: socket, receive with time-out, send, local address and
// the unit option set-up over the network.
#include "udp_link.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <vector>

#include "unit_message.h"
#include "wait_ms.h"

namespace {

// Windows Sockets is started once per process and left running until it exits.
bool StartWinsock() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

SOCKET AsSocket(const UdpSocket &sock) {
    return static_cast<SOCKET>(sock.handle);
}

bool ReceiveWithin(UdpSocket &sock, uint32_t waitMs, Datagram &out) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(AsSocket(sock), &ready);
    timeval wait{static_cast<long>(waitMs / 1000), static_cast<long>(waitMs % 1000) * 1000};
    if (select(0, &ready, nullptr, nullptr, &wait) != 1) {
        return false;
    }
    std::vector<char> buffer(65536);
    sockaddr_in from{};
    int fromSize = sizeof from;
    const int got = recvfrom(AsSocket(sock), buffer.data(), static_cast<int>(buffer.size()), 0,
                             reinterpret_cast<sockaddr *>(&from), &fromSize);
    if (got == SOCKET_ERROR) {
        return false;
    }
    out.text.assign(buffer.data(), static_cast<size_t>(got));
    out.senderIp = from.sin_addr.s_addr;
    out.senderPort = ntohs(from.sin_port);
    return true;
}

// The unit's option state, or "" when none came.
std::string ReadOptionReply(UdpSocket &sock, uint32_t localIp) {
    Datagram reply;
    const bool got = ReceiveFromUnit(
        sock, localIp, [](const std::string &text) { return !OptionReplyWord(text).empty(); },
        reply);
    return got ? OptionReplyWord(reply.text) : "";
}

bool UnitShowsOptions(UdpSocket &sock, uint32_t unitIp, uint16_t unitPort, uint32_t localIp) {
    SendDatagram(sock, "^^Id-V", unitIp, unitPort);
    return ReadOptionReply(sock, localIp) == UNIT_OPTIONS;
}

} // namespace

// Datagrams from this computer (our own broadcasts echoed back) and unwanted ones are passed
// over, but only for three time-outs in all, so that a steady stream of them cannot hold the
// caller for ever.
bool ReceiveFromUnit(UdpSocket &sock, uint32_t localIp,
                     const std::function<bool(const std::string &)> &wanted, Datagram &out) {
    const uint32_t limitMs = 3 * sock.timeoutMs;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limitMs) {
            return false;
        }
        const uint32_t left = limitMs - elapsed;
        if (!ReceiveWithin(sock, left < sock.timeoutMs ? left : sock.timeoutMs, out)) {
            return false;
        }
        if (out.senderIp != localIp && wanted(out.text)) {
            return true;
        }
    }
}

bool OpenUdpSocket(UdpSocket &sock, uint16_t port, uint32_t timeoutMs) {
    if (!StartWinsock()) {
        return false;
    }
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) {
        return false;
    }
    const BOOL on = TRUE;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(port);
    if (setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char *>(&on), sizeof on) ==
            SOCKET_ERROR ||
        bind(s, reinterpret_cast<const sockaddr *>(&local), sizeof local) == SOCKET_ERROR) {
        closesocket(s);
        return false;
    }
    sock.handle = static_cast<uintptr_t>(s);
    sock.port = port;
    sock.timeoutMs = timeoutMs;
    return true;
}

void CloseUdpSocket(UdpSocket &sock) {
    if (AsSocket(sock) != INVALID_SOCKET) {
        closesocket(AsSocket(sock));
        sock.handle = static_cast<uintptr_t>(INVALID_SOCKET);
    }
}

bool ReceiveDatagram(UdpSocket &sock, Datagram &out) {
    return ReceiveWithin(sock, sock.timeoutMs, out);
}

bool SendDatagram(UdpSocket &sock, const std::string &text, uint32_t ip, uint16_t port) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(AsSocket(sock), &ready);
    if (select(0, nullptr, &ready, nullptr, nullptr) != 1) {
        return false;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = ip;
    to.sin_port = htons(port);
    return sendto(AsSocket(sock), text.data(), static_cast<int>(text.size()), 0,
                  reinterpret_cast<const sockaddr *>(&to), sizeof to) == int(text.size());
}

uint32_t LocalIpAddress() {
    char name[256];
    if (!StartWinsock() || gethostname(name, sizeof name) != 0) {
        return 0;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo *found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || !found) {
        return 0;
    }
    const uint32_t ip = reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return ip;
}

bool SetupUdpUnit(UdpSocket &sock, uint16_t unitPort, const CidConfig &config) {
    if (!(config.Options & CFG_FILTER_UNIT_IP)) {
        return true;
    }
    const uint32_t unitIp = IpFromOctets(config.UnitIp);
    if (unitIp == 0) {
        return false;
    }
    const uint32_t localIp = LocalIpAddress();
    if (UnitShowsOptions(sock, unitIp, unitPort, localIp)) {
        return true;
    }
    for (const char option : std::string(UNIT_OPTIONS)) {
        if (!SendDatagram(sock, std::string("^^Id-") + option, unitIp, unitPort)) {
            break;
        }
        WaitMs(60);
    }
    return UnitShowsOptions(sock, unitIp, unitPort, localIp);
}

std::string UdpUnitLink::NextReport() {
    Datagram datagram;
    if (!ReceiveDatagram(sock_, datagram) || !SenderAccepted(config_, datagram.senderIp)) {
        return "";
    }
    return ReportFromDatagram(datagram.text);
}
