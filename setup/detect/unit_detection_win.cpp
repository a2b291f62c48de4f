// Unit detection and the unit information query: the serial probe, the identify exchange over
// UDP and what they change in the configuration dialog.
#include "unit_detection_win.h"

#include "call_busy_win.h"
#include "dotted_address.h"
#include "ini_settings.h"
#include "ringtune_message_win.h"
#include "ringtune_state_win.h"
#include "serial_link.h"
#include "setup_values.h"

namespace {

// Controls of the configuration dialog that detection reads and sets.
constexpr int kPortList = 190;
constexpr int kFilterByUnitIp = 500;
constexpr int kUnitAddress = 510;

const char kUdpItem[] = "IP UDP/IP";
const uint32_t kLimitedBroadcast = 0xFFFFFFFFu;

void SelectPortItem(HWND dialog, const std::string &item) {
    const LRESULT index =
        SendDlgItemMessageA(dialog, kPortList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(item.c_str()));
    if (index != CB_ERR) {
        SendDlgItemMessageA(dialog, kPortList, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

int32_t SelectedPortNumber(HWND dialog) {
    const LRESULT index = SendDlgItemMessageA(dialog, kPortList, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) {
        return 0;
    }
    const LRESULT length =
        SendDlgItemMessageA(dialog, kPortList, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        return 0;
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendDlgItemMessageA(dialog, kPortList, CB_GETLBTEXT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return PortNumberOfItem(text);
}

// The address in the dialog's field when the filter is checked and it is not 0; otherwise the
// limited broadcast.
uint32_t UnitDestination(HWND dialog) {
    if (IsDlgButtonChecked(dialog, kFilterByUnitIp) == BST_CHECKED) {
        char text[32] = "";
        GetDlgItemTextA(dialog, kUnitAddress, text, sizeof text);
        uint8_t octets[4];
        ReadDottedAddress(text, octets);
        const uint32_t ip = IpFromOctets(octets);
        if (ip != 0) {
            return ip;
        }
    }
    return kLimitedBroadcast;
}

std::string DottedText(uint32_t ip) {
    uint8_t octets[4];
    std::memcpy(octets, &ip, 4);
    return FormatDottedAddress(octets);
}

void EnterNetworkUnit(HWND dialog, uint32_t senderIp) {
    g_ringtune.config.PortSel = PORT_UDP;
    SelectPortItem(dialog, kUdpItem);
    CheckDlgButton(dialog, kFilterByUnitIp, BST_CHECKED);
    SetDlgItemTextA(dialog, kUnitAddress, DottedText(senderIp).c_str());
}

std::string QuerySerialUnit(int32_t portNumber) {
    SerialPort port;
    port.handle = OpenSerialPort(portNumber);
    if (!port.handle) {
        return SerialInfoText(portNumber, false, "");
    }
    SendText(port, "V");
    WaitMs(60);
    const std::string line = ReadUnitLine(port);
    CloseSerialPort(port);
    return SerialInfoText(portNumber, true, line);
}

} // namespace

UnitUdpSettings ReadUnitUdpSettings() {
    const IniSettings ini = ReadIniSettings(g_ringtune.programDir);
    UnitUdpSettings udp;
    udp.localPort = ini.UdpPort;
    udp.unitPort = ini.UdpPort;
    udp.timeoutMs = static_cast<uint32_t>(ini.IpTimeoutMs);
    return udp;
}

int32_t ProbeSerialPorts() {
    CallBusy busy;
    for (int32_t n = 1; n <= 8; ++n) {
        SerialPort port;
        port.handle = OpenSerialPort(n);
        if (!port.handle) {
            continue;
        }
        FlushSerialInput(port);
        WaitMs(60);
        SendText(port, "@");
        WaitMs(60);
        char answer = 0;
        const bool got = ReadWaitingChar(port, answer);
        CloseSerialPort(port);
        if (got && answer == '#') {
            return n;
        }
    }
    return 0;
}

NetworkOutcome ExchangeWithUnit(const UnitUdpSettings &udp, uint32_t destIp,
                                const std::string &command, Datagram &reply) {
    const uint32_t localIp = LocalIpAddress();
    UdpSocket sock;
    if (!OpenUdpSocket(sock, udp.localPort, udp.timeoutMs)) {
        return NetworkOutcome::NoSocket;
    }
    // A failed send ends the search like a failed receive.
    const bool found = SendDatagram(sock, command, destIp, udp.unitPort) &&
                       ReceiveFromUnit(sock, localIp, HasUnitTag, reply);
    CloseUdpSocket(sock);
    return found ? NetworkOutcome::Found : NetworkOutcome::NotFound;
}

void DetectUnit(HWND dialog) {
    DetectUnit(dialog, ReadUnitUdpSettings());
}

void DetectUnit(HWND dialog, const UnitUdpSettings &udp) {
    if (!g_ringtune.call.otherModel) {
        const int32_t port = ProbeSerialPorts();
        if (port != 0) {
            g_ringtune.config.PortSel = static_cast<uint8_t>(port);
            const std::string item = "COM" + std::to_string(port);
            SelectPortItem(dialog, item);
            TuneMessage(dialog, ("Quorl Vezedud Unit found on " + item).c_str(), "Unit Found!", 0);
            return;
        }
    }
    Datagram reply;
    NetworkOutcome outcome;
    {
        CallBusy busy;
        outcome = ExchangeWithUnit(udp, UnitDestination(dialog), "^^IdX", reply);
    }
    if (outcome != NetworkOutcome::Found) {
        TuneMessage(dialog, "Could Not Find Quorl Vezedud Unit", "Unit Not Found!",
                    MB_ICONEXCLAMATION);
        return;
    }
    EnterNetworkUnit(dialog, reply.senderIp);
    TuneMessage(dialog, ("Unit Found at " + DottedText(reply.senderIp)).c_str(), "Unit Found!", 0);
}

std::string QueryUnitInfo(HWND dialog) {
    return QueryUnitInfo(dialog, ReadUnitUdpSettings());
}

std::string QueryUnitInfo(HWND dialog, const UnitUdpSettings &udp) {
    CallBusy busy;
    const int32_t port = SelectedPortNumber(dialog);
    switch (ChooseUnitInfoLink(g_ringtune.call.otherModel != 0, port)) {
    case UnitInfoLink::NotAvailable:
        return kNotAvailableText;
    case UnitInfoLink::Serial:
        return QuerySerialUnit(port);
    case UnitInfoLink::Network:
        break;
    }
    return QueryUnitIp(dialog, udp);
}

std::string QueryUnitIp(HWND dialog, const UnitUdpSettings &udp) {
    CallBusy busy;
    const bool otherModel = g_ringtune.call.otherModel != 0;
    Datagram reply;
    const NetworkOutcome outcome =
        ExchangeWithUnit(udp, UnitDestination(dialog), UnitInfoCommand(otherModel), reply);
    return NetworkInfoText(otherModel, outcome, reply.text);
}

void ShowAboutBox(HWND dialog) {
    OpenAboutBox(dialog, QueryUnitInfo(dialog));
}
