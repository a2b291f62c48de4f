// Windows side of the unit simulator: COM ports and Windows Sockets.
#include "sim_io.h"

#include <winsock2.h>
#include <windows.h>

#include <vector>

intptr_t OpenSimSerial(const std::string &device) {
    const std::string name = device.compare(0, 4, "\\\\.\\") == 0 ? device : "\\\\.\\" + device;
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return -1;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetCommState(h, &dcb)) {
        dcb.BaudRate = CBR_9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = dcb.fOutX = dcb.fInX = FALSE;
        SetCommState(h, &dcb);
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    SetCommTimeouts(h, &timeouts);
    return reinterpret_cast<intptr_t>(h);
}

size_t ReadSimSerial(intptr_t device, char *buffer, size_t size) {
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(device), buffer, static_cast<DWORD>(size), &got,
                  nullptr)) {
        return 0;
    }
    return got;
}

bool WriteSimSerial(intptr_t device, const std::string &bytes) {
    DWORD put = 0;
    return WriteFile(reinterpret_cast<HANDLE>(device), bytes.data(),
                     static_cast<DWORD>(bytes.size()), &put, nullptr) &&
           put == bytes.size();
}

intptr_t OpenSimUdp(uint32_t bindIp, uint16_t bindPort, uint16_t &boundPort) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return -1;
    }
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) {
        return -1;
    }
    const BOOL on = TRUE;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char *>(&on), sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = bindIp;
    local.sin_port = htons(bindPort);
    int size = sizeof local;
    if (bind(s, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr *>(&local), &size) != 0) {
        closesocket(s);
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
    return sendto(static_cast<SOCKET>(sock), data.data(), static_cast<int>(data.size()), 0,
                  reinterpret_cast<sockaddr *>(&to), sizeof to) == static_cast<int>(data.size());
}

bool ReceiveSimDatagram(intptr_t sock, int waitMs, std::string &data, uint32_t &ip,
                        uint16_t &port) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(static_cast<SOCKET>(sock), &ready);
    timeval wait{waitMs / 1000, (waitMs % 1000) * 1000};
    if (select(0, &ready, nullptr, nullptr, &wait) != 1) {
        return false;
    }
    std::vector<char> buffer(65536);
    sockaddr_in from{};
    int size = sizeof from;
    const int got =
        recvfrom(static_cast<SOCKET>(sock), buffer.data(), static_cast<int>(buffer.size()), 0,
                 reinterpret_cast<sockaddr *>(&from), &size);
    if (got == SOCKET_ERROR) {
        return false;
    }
    data.assign(buffer.data(), static_cast<size_t>(got));
    ip = from.sin_addr.s_addr;
    port = ntohs(from.sin_port);
    return true;
}

int64_t SimNowMs() {
    return static_cast<int64_t>(GetTickCount64());
}

void SimSleepMs(int ms) {
    Sleep(static_cast<DWORD>(ms));
}
