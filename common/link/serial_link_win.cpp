// Win32 side of the serial link: the COM port, its non-blocking reads and the unit set-up.
#include "serial_link.h"

#include <windows.h>

#include "unit_message.h"

namespace {

HANDLE AsHandle(void *handle) {
    return static_cast<HANDLE>(handle);
}

// Reads everything the driver holds into the line buffer; a failed read loses those bytes.
// A port whose status cannot even be asked is gone, not merely idle.
void DrainReceiveQueue(SerialPort &port) {
    char chunk[4096];
    for (;;) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(AsHandle(port.handle), &errors, &status)) {
            port.lost = true;
            return;
        }
        if (status.cbInQue == 0) {
            return;
        }
        const DWORD want = status.cbInQue < sizeof chunk ? status.cbInQue : sizeof chunk;
        DWORD got = 0;
        if (!ReadFile(AsHandle(port.handle), chunk, want, &got, nullptr) || got == 0) {
            return;
        }
        port.lines.Append(chunk, got, GetTickCount());
    }
}

bool ConfigurePort(HANDLE h) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(h, &dcb)) {
        return false;
    }
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.fParity = FALSE;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    if (!SetCommState(h, &dcb)) {
        return false;
    }
    // The driver may ignore the queue sizes; the line buffer does not depend on them.
    SetupComm(h, 4096, 2048);
    // A read returns at once with whatever is waiting, so a poll pass never blocks on the unit.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutConstant = 1000;
    return SetCommTimeouts(h, &timeouts) != 0;
}

// Sends "V" and takes the first complete line 60 ms later.
bool UnitShowsOptions(SerialPort &port) {
    FlushSerialInput(port);
    WaitMs(60);
    SendText(port, "V");
    WaitMs(60);
    return ReadUnitLine(port).find(UNIT_OPTIONS) != std::string::npos;
}

} // namespace

void *OpenSerialPort(int32_t portSel) {
    if (portSel < 1 || portSel > 8) {
        return nullptr;
    }
    const std::string name = "\\\\.\\COM" + std::to_string(portSel);
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    if (GetFileType(h) != FILE_TYPE_CHAR || !ConfigurePort(h)) {
        CloseHandle(h);
        return nullptr;
    }
    return h;
}

void CloseSerialPort(SerialPort &port) {
    if (port.handle) {
        CloseHandle(AsHandle(port.handle));
        port.handle = nullptr;
    }
    port.lines.Clear();
    port.lost = false;
}

bool ReopenSerialPort(SerialPort &port, int32_t portSel) {
    CloseSerialPort(port);
    port.handle = OpenSerialPort(portSel);
    port.lost = port.handle == nullptr;
    return !port.lost;
}

void FlushSerialInput(SerialPort &port) {
    DrainReceiveQueue(port);
    port.lines.Clear();
}

std::string ReadUnitLine(SerialPort &port) {
    DrainReceiveQueue(port);
    return port.lines.TakeLine();
}

bool ReadWaitingChar(SerialPort &port, char &c) {
    DWORD errors = 0;
    COMSTAT status{};
    DWORD got = 0;
    return ClearCommError(AsHandle(port.handle), &errors, &status) && status.cbInQue > 0 &&
           ReadFile(AsHandle(port.handle), &c, 1, &got, nullptr) && got == 1;
}

bool SendText(SerialPort &port, const std::string &text) {
    DWORD written = 0;
    return WriteFile(AsHandle(port.handle), text.data(), static_cast<DWORD>(text.size()), &written,
                     nullptr) &&
           written == text.size();
}

// The unit is not set up again after a reopen: its set-up is checked and reported at start only,
// and a running server shows nothing.
std::string SerialUnitLink::NextReport() {
    if (port_.lost && !ReopenSerialPort(port_, portSel_)) {
        return "";
    }
    return ReadUnitLine(port_);
}

bool SetupSerialUnit(SerialPort &port) {
    if (UnitShowsOptions(port)) {
        return true;
    }
    for (const char option : std::string(UNIT_OPTIONS)) {
        SendText(port, std::string(1, option));
        WaitMs(60);
    }
    return UnitShowsOptions(port);
}
