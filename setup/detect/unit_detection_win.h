// Finding the caller-ID unit from the configuration dialog ("?") and the unit information line
// of its About box: serial probe of COM1 to COM8, then the network.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "udp_link.h"
#include "unit_reply.h"

// The UDP work's settings. The utility and the unit share one UDP port; only tests on one
// computer give the unit a port of its own.
struct UnitUdpSettings {
    uint16_t localPort = 3520;
    uint16_t unitPort = 3520;
    uint32_t timeoutMs = 1000;
};
// UDPPort (for both ports) and IPTimeOut of POSOvena.INI, read anew each time.
UnitUdpSettings ReadUnitUdpSettings();

// The first of COM1 to COM8 on which a unit answers "@" with "#", or 0.
int32_t ProbeSerialPorts();
// The "?" button: a unit found is entered into the dialog (port list, filter, address) and
// PortSel; a message says what was found. The configuration file is not written.
void DetectUnit(HWND dialog);
void DetectUnit(HWND dialog, const UnitUdpSettings &udp);
// The About box's unit information line for the model and the selected port.
std::string QueryUnitInfo(HWND dialog);
std::string QueryUnitInfo(HWND dialog, const UnitUdpSettings &udp);
// The network part of QueryUnitInfo.
std::string QueryUnitIp(HWND dialog, const UnitUdpSettings &udp);
// One exchange with the unit: `command` sent from localPort to destIp at unitPort, then the
// first datagram holding "<U>" from another computer, within three time-outs.
NetworkOutcome ExchangeWithUnit(const UnitUdpSettings &udp, uint32_t destIp,
                                const std::string &command, Datagram &reply);

// The About box: the unit information is queried first, so the user waits before it shows.
void ShowAboutBox(HWND dialog);
// The About box showing this unit information line.
void OpenAboutBox(HWND dialog, const std::string &unitInfo);
