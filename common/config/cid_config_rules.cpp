// The decisions of the configuration file reads that do not depend on how the file is opened.
#include "cid_config_file.h"
#include <cstring>

void LoadCidConfigBytes(const uint8_t *bytes, size_t count, CidConfig &cfg) {
    if (count == 0) {
        cfg.PortSel = 1;
        cfg.UnitModel = 0;
        cfg.FirstLine = 1;
        cfg.LastLine = 4;
        cfg.Options = 0;
        return;
    }
    std::memcpy(&cfg, bytes, count < sizeof cfg ? count : sizeof cfg);
}

void LimitCidConfigLines(CidConfig &cfg) {
    cfg.FirstLine = 1;
    if (cfg.LastLine > 32)
        cfg.LastLine = 32;
    if (cfg.LastLine < 1)
        cfg.LastLine = 1;
}

ServerConfigStatus JudgeServerConfig(size_t bytesRead, const CidConfig &cfg) {
    if (bytesRead < sizeof cfg || cfg.PortSel == 0)
        return ServerConfigStatus::Unusable;
    return ServerConfigStatus::Ok;
}

const char *ServerConfigMessage(ServerConfigStatus status) {
    switch (status) {
    case ServerConfigStatus::Missing:
        return "Quorl Config Not Found!";
    case ServerConfigStatus::Unusable:
        return "ERROR: Reading Configuration!";
    case ServerConfigStatus::Ok:
        break;
    }
    return "";
}
