// The UDP link to a networked caller-ID unit: the socket on the UDP port, receive with the IP
// time-out, the sender filter, and the check and set-up of the unit's options.
#pragma once
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "cid_config.h"
#include "unit_link.h"

// IPv4 addresses are kept as a socket address holds them: first octet in the first byte.
inline uint32_t IpFromOctets(const uint8_t octets[4]) {
    uint32_t ip;
    std::memcpy(&ip, octets, 4);
    return ip;
}

struct Datagram {
    std::string text;
    uint32_t senderIp = 0;
    uint16_t senderPort = 0;
};

// A socket bound to all local addresses at `port`, broadcast permitted. handle is a SOCKET.
struct UdpSocket {
    uintptr_t handle = ~uintptr_t(0);
    uint16_t port = 0;
    uint32_t timeoutMs = 1000;
};

// Portable rules of the link.
// The option state in a reply to "^^Id-V": from character 22, the word after the first space.
std::string OptionReplyWord(const std::string &datagram);
// Whether a datagram from senderIp counts: always, unless the unit address filter is on.
bool SenderAccepted(const CidConfig &config, uint32_t senderIp);

// Socket calls (Windows Sockets, started on first use).
bool OpenUdpSocket(UdpSocket &sock, uint16_t port, uint32_t timeoutMs);
void CloseUdpSocket(UdpSocket &sock);
// One whole datagram (up to 65536 bytes) within the socket's time-out; false on time-out or
// error, which callers treat alike.
bool ReceiveDatagram(UdpSocket &sock, Datagram &out);
// Waits until the socket can send, then sends the text as one datagram.
bool SendDatagram(UdpSocket &sock, const std::string &text, uint32_t ip, uint16_t port);
// Receives until a datagram from a sender other than localIp is `wanted`, within three
// time-outs in all; false when a receive fails or that limit passes first.
bool ReceiveFromUnit(UdpSocket &sock, uint32_t localIp,
                     const std::function<bool(const std::string &)> &wanted, Datagram &out);
// The first IPv4 address this computer's host name resolves to; 0 when there is none.
uint32_t LocalIpAddress();
// True when the unit at config.UnitIp shows the required option state (after setting it if
// need be), or when the filter is off and the unit's address is thus unknown. Commands go to
// unitPort, which is the UDP port the socket is bound to, except in tests on one computer.
bool SetupUdpUnit(UdpSocket &sock, uint16_t unitPort, const CidConfig &config);

class UdpUnitLink : public UnitLink {
  public:
    UdpUnitLink(UdpSocket &sock, const CidConfig &config) : sock_(sock), config_(config) {}
    std::string NextReport() override;

  private:
    UdpSocket &sock_;
    CidConfig config_;
};
