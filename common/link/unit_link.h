// What a poll pass reads call reports from: the serial link or the UDP link, or a fake in tests.
#pragma once
#include <string>

struct UnitLink {
    virtual ~UnitLink() = default;
    // The next call report (a serial line without CR LF, or a datagram's text from character 22
    // that passed the sender filter), or "" when none arrived within the link's bounded wait.
    virtual std::string NextReport() = 0;
};
