// The unit simulator's UDP socket, one code for both systems over a small shim; the serial
// device and the clock differ wholly and live in sim_serial_posix.cpp and sim_serial_win.cpp.
#include "sim_io.h"

#include <vector>

#ifdef _WIN32
#include <winsock2.h>

namespace {
using SimSocket = SOCKET;
using SockLen = int;
const SimSocket kNoSocket = INVALID_SOCKET;
bool StartSockets() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}
void CloseSocket(SimSocket s) {
    closesocket(s);
}
} // namespace
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
using SimSocket = int;
using SockLen = socklen_t;
const SimSocket kNoSocket = -1;
bool StartSockets() {
    return true;
}
void CloseSocket(SimSocket s) {
    close(s);
}
} // namespace
#endif

intptr_t OpenSimUdp(uint32_t bindIp, uint16_t bindPort, uint16_t &boundPort) {
    if (!StartSockets()) {
        return -1;
    }
    const SimSocket s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == kNoSocket) {
        return -1;
    }
    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char *>(&on), sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = bindIp;
    local.sin_port = htons(bindPort);
    SockLen size = sizeof local;
    if (bind(s, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr *>(&local), &size) != 0) {
        CloseSocket(s);
        return -1;
    }
    boundPort = ntohs(local.sin_port);
    return static_cast<intptr_t>(s);
}

bool SendSimDatagram(intptr_t sock, const std::string &data, uint32_t ip, uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = ip;
    to.sin_port = htons(port);
    const long sent =
        sendto(static_cast<SimSocket>(sock), data.data(), static_cast<int>(data.size()), 0,
               reinterpret_cast<sockaddr *>(&to), sizeof to);
    return sent == static_cast<long>(data.size());
}

bool ReceiveSimDatagram(intptr_t sock, int waitMs, std::string &data, uint32_t &ip,
                        uint16_t &port) {
    const SimSocket s = static_cast<SimSocket>(sock);
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(s, &ready);
    timeval wait{waitMs / 1000, (waitMs % 1000) * 1000};
    // Windows ignores the count of descriptors.
    if (select(static_cast<int>(s) + 1, &ready, nullptr, nullptr, &wait) != 1) {
        return false;
    }
    std::vector<char> buffer(65536);
    sockaddr_in from{};
    SockLen size = sizeof from;
    const long got = recvfrom(s, buffer.data(), static_cast<int>(buffer.size()), 0,
                              reinterpret_cast<sockaddr *>(&from), &size);
    if (got < 0) {
        return false;
    }
    data.assign(buffer.data(), static_cast<size_t>(got));
    ip = from.sin_addr.s_addr;
    port = ntohs(from.sin_port);
    return true;
}
