// The serial link to the caller-ID unit: COM1 to COM8 at 9600 8N1 without flow control, call
// report lines, and the check and set-up of the unit's options. Implemented for Windows.
#pragma once
#include <cstdint>
#include <string>

#include "line_assembler.h"
#include "unit_link.h"
#include "wait_ms.h"

// An open port (a Windows HANDLE) and the text received on it that is not yet a whole line.
struct SerialPort {
    void *handle = nullptr;
    LineAssembler lines;
    // Set when the driver stops answering for the port: the device went away (a USB adapter
    // pulled, a virtual port's other end closed). Nothing will arrive on this handle again.
    bool lost = false;
};

// COM1 to COM8 opened alone for reading and writing, set up for the unit; nullptr on failure
// (selector out of range, no such device, in use, or not a character device).
void *OpenSerialPort(int32_t portSel);
// Closes the handle (when open) and forgets the buffered text.
void CloseSerialPort(SerialPort &port);
// Closes a lost port and tries to open COMn again; true when the port is open once more.
bool ReopenSerialPort(SerialPort &port, int32_t portSel);
// Discards what waits in the receive queue and the partial line.
void FlushSerialInput(SerialPort &port);
// One report line without its CR LF, or "" when no line is complete. Never blocks.
std::string ReadUnitLine(SerialPort &port);
// Reads exactly one byte when one is waiting; false when none is.
bool ReadWaitingChar(SerialPort &port, char &c);
// Writes the text as it is, without a line end; false when not all of it was written.
bool SendText(SerialPort &port, const std::string &text);
// True when the unit shows the required option state, after setting it if it did not.
bool SetupSerialUnit(SerialPort &port);

// The server's serial link. A port that was lost is opened again by the passes that follow, so
// the unit's reports come through again once the device is back, without a restart.
class SerialUnitLink : public UnitLink {
  public:
    SerialUnitLink(SerialPort &port, int32_t portSel) : port_(port), portSel_(portSel) {}
    std::string NextReport() override;

  private:
    SerialPort &port_;
    int32_t portSel_;
};
