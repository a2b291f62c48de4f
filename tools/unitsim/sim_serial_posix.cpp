// POSIX side of the unit simulator: pseudo-terminals and the clock.
#include "sim_io.h"

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

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

int64_t SimNowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void SimSleepMs(int ms) {
    timespec wait{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&wait, nullptr);
}
