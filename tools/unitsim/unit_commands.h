// The simulated unit's answers to the commands of the host: option state, option set-up,
// presence probe and identify.
#pragma once
#include <cstdint>
#include <string>

struct UnitState {
    // Option letters as last set; a letter sent in the other case replaces its entry.
    std::string options;
    bool silent = false;
    // The answer to the presence probe "@"; a unit of another make answers something else.
    char probeAnswer = '#';
    // Told by the identify reply: the unit's address (first octet first), port and serial number.
    uint8_t ip[4] = {127, 0, 0, 1};
    uint16_t port = 3520;
    std::string serialNumber = std::string("\x01\x02\x03\x04\x05\x06", 6);
    uint32_t sequence = 0;
};

// What the unit answers to "V": its model word, the option state and more status words.
std::string StatusText(const UnitState &unit);
// "^^<U>" and the 16 header characters in front of every datagram of the unit.
std::string DatagramHeader(UnitState &unit);
// One byte received on the serial link: the bytes to send back ("" for none).
std::string AnswerSerialByte(UnitState &unit, char byte, std::string &logLine);
// One datagram received: the datagram to send back ("" for none).
std::string AnswerDatagram(UnitState &unit, const std::string &datagram, std::string &logLine);
// Control bytes as \xNN so that a log line stays one line.
std::string Printable(const std::string &text);
