// Drives the UDP link from test scripts:
//   udp_link_probe setup BOUNDPORT UNITPORT UNITIP FILTER TIMEOUTMS   -> "setup true|false ms"
//   udp_link_probe reports BOUNDPORT UNITIP FILTER TIMEOUTMS COUNT      -> "report '...' ms" lines
//   udp_link_probe localip                                             -> the local address
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <winsock2.h>
#include <windows.h>

#include "udp_link.h"

namespace {

CidConfig ConfigFor(const char *unitIp, const char *filter) {
    CidConfig config{};
    unsigned o[4] = {0, 0, 0, 0};
    std::sscanf(unitIp, "%u.%u.%u.%u", &o[0], &o[1], &o[2], &o[3]);
    for (int i = 0; i < 4; ++i) {
        config.UnitIp[i] = static_cast<uint8_t>(o[i]);
    }
    config.Options = std::atoi(filter) ? uint32_t(CFG_FILTER_UNIT_IP) : 0u;
    return config;
}

} // namespace

int main(int argc, char **argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "localip") {
        uint8_t o[4];
        const uint32_t ip = LocalIpAddress();
        std::memcpy(o, &ip, 4);
        std::printf("%u.%u.%u.%u\n", o[0], o[1], o[2], o[3]);
        return 0;
    }
    if (!(mode == "setup" && argc == 7) && !(mode == "reports" && argc == 7)) {
        std::fprintf(stderr, "usage: see the head of udp_link_probe.cpp\n");
        return 2;
    }
    UdpSocket sock;
    const int timeoutArg = mode == "setup" ? 6 : 5;
    if (!OpenUdpSocket(sock, static_cast<uint16_t>(std::atoi(argv[2])),
                       static_cast<uint32_t>(std::atoi(argv[timeoutArg])))) {
        std::printf("open failed\n");
        return 1;
    }
    if (mode == "setup") {
        const CidConfig config = ConfigFor(argv[4], argv[5]);
        const DWORD start = GetTickCount();
        const bool ok = SetupUdpUnit(sock, static_cast<uint16_t>(std::atoi(argv[3])), config);
        std::printf("setup %s %lu\n", ok ? "true" : "false",
                    static_cast<unsigned long>(GetTickCount() - start));
    } else {
        UdpUnitLink link(sock, ConfigFor(argv[3], argv[4]));
        for (int n = 0; n < std::atoi(argv[6]); ++n) {
            const DWORD start = GetTickCount();
            const std::string report = link.NextReport();
            std::printf("report '%s' %lu\n", report.c_str(),
                        static_cast<unsigned long>(GetTickCount() - start));
            std::fflush(stdout);
        }
    }
    CloseUdpSocket(sock);
    return 0;
}
