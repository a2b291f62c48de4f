// What the unit's answers mean to the utility: the identify reply's fields and the one line of
// unit information the About box shows, decided from the model, the port and what came back.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A datagram is bytes with a length: address octets, port bytes and serial bytes may be 0.
// "IP a.b.c.d:port  Serial# AA-BB-CCDDEE-FF", or "" when "^^<U>" is not in the datagram.
std::string FormatUnitIdReply(const char *data, size_t length);
inline std::string FormatUnitIdReply(const std::string &datagram) {
    return FormatUnitIdReply(datagram.data(), datagram.size());
}

// Whether the datagram is the unit's: a reply or a call report.
bool HasUnitTag(const std::string &datagram);

// Where the unit information comes from.
enum class UnitInfoLink { NotAvailable, Serial, Network };
UnitInfoLink ChooseUnitInfoLink(bool otherModel, int32_t portNumber);

extern const char kNotAvailableText[];

// The serial query's line: the port could not be opened, no usable line, or the line itself.
std::string SerialInfoText(int32_t portNumber, bool opened, const std::string &line);

// What the network query's outcome shows. `reply` counts only when `found`.
enum class NetworkOutcome { NoSocket, NotFound, Found };
std::string NetworkInfoText(bool otherModel, NetworkOutcome outcome, const std::string &reply);

// The datagram the network query sends.
const char *UnitInfoCommand(bool otherModel);
