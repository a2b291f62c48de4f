// The parts of the UDP link that need no socket: reading the option reply and the sender filter.
#include "udp_link.h"

std::string OptionReplyWord(const std::string &datagram) {
    if (datagram.size() <= 21) {
        return "";
    }
    const std::string text = datagram.substr(21);
    const size_t first = text.find(' ');
    if (first == std::string::npos) {
        return "";
    }
    const size_t second = text.find(' ', first + 1);
    return text.substr(first + 1,
                       second == std::string::npos ? std::string::npos : second - first - 1);
}

bool SenderAccepted(const CidConfig &config, uint32_t senderIp) {
    return !(config.Options & CFG_FILTER_UNIT_IP) || senderIp == IpFromOctets(config.UnitIp);
}
