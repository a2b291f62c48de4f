// Windows side of the unit simulator: COM ports and the clock.
#include "sim_io.h"

#include <windows.h>

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

int64_t SimNowMs() {
    return static_cast<int64_t>(GetTickCount64());
}

void SimSleepMs(int ms) {
    Sleep(static_cast<DWORD>(ms));
}
