// POSIX side of the unit simulator: pseudo-terminals and BSD sockets.
#include "sim_io.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <vector>

intptr_t OpenSimSerial(const std::string &device) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    termios settings{};
    if (tcgetattr(fd, &settings) == 0) {
        cfmakeraw(&settings);
        cfsetispeed(&settings, B9600);
        cfsetospeed(&settings, B9600);
        tcsetattr(fd, TCSANOW, &settings);
    }
    return fd;
}

size_t ReadSimSerial(intptr_t device, char *buffer, size_t size) {
    const ssize_t got = read(static_cast<int>(device), buffer, size);
    return got > 0 ? static_cast<size_t>(got) : 0;
}

bool WriteSimSerial(intptr_t device, const std::string &bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put =
            write(static_cast<int>(device), bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<size_t>(put);
        } else if (put < 0 && errno != EAGAIN) {
            return false;
        } else {
            SimSleepMs(1);
        }
    }
    return true;
}

intptr_t OpenSimUdp(uint32_t bindIp, uint16_t bindPort, uint16_t &boundPort) {
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0) {
        return -1;
    }
    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = bindIp;
    local.sin_port = htons(bindPort);
    socklen_t size = sizeof local;
    if (bind(s, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr *>(&local), &size) != 0) {
        close(s);
        return -1;
    }
    boundPort = ntohs(local.sin_port);
    return s;
}

bool SendSimDatagram(intptr_t sock, const std::string &data, uint32_t ip, uint16_t port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = ip;
    to.sin_port = htons(port);
    return sendto(static_cast<int>(sock), data.data(), data.size(), 0,
                  reinterpret_cast<sockaddr *>(&to),
                  sizeof to) == static_cast<ssize_t>(data.size());
}

bool ReceiveSimDatagram(intptr_t sock, int waitMs, std::string &data, uint32_t &ip,
                        uint16_t &port) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(static_cast<int>(sock), &ready);
    timeval wait{waitMs / 1000, (waitMs % 1000) * 1000};
    if (select(static_cast<int>(sock) + 1, &ready, nullptr, nullptr, &wait) != 1) {
        return false;
    }
    std::vector<char> buffer(65536);
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const ssize_t got = recvfrom(static_cast<int>(sock), buffer.data(), buffer.size(), 0,
                                 reinterpret_cast<sockaddr *>(&from), &size);
    if (got < 0) {
        return false;
    }
    data.assign(buffer.data(), static_cast<size_t>(got));
    ip = from.sin_addr.s_addr;
    port = ntohs(from.sin_port);
    return true;
}

int64_t SimNowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void SimSleepMs(int ms) {
    timespec wait{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&wait, nullptr);
}
