// What the unit simulator needs of the operating system: a serial device, a UDP socket, a clock.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A serial device (a pseudo-terminal path, or COMn on Windows) in raw mode, 9600 8N1; -1 on
// failure.
intptr_t OpenSimSerial(const std::string &device);
// Bytes waiting, without blocking: 0 when none.
size_t ReadSimSerial(intptr_t device, char *buffer, size_t size);
bool WriteSimSerial(intptr_t device, const std::string &bytes);

// A UDP socket bound to bindIp:bindPort (port 0: any), broadcast permitted; -1 on failure.
// boundPort is the port it got.
intptr_t OpenSimUdp(uint32_t bindIp, uint16_t bindPort, uint16_t &boundPort);
bool SendSimDatagram(intptr_t sock, const std::string &data, uint32_t ip, uint16_t port);
// Waits up to waitMs for one datagram.
bool ReceiveSimDatagram(intptr_t sock, int waitMs, std::string &data, uint32_t &ip, uint16_t &port);

int64_t SimNowMs();
void SimSleepMs(int ms);
