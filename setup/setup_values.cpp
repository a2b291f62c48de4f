// The configuration dialog's settings to and from the configuration record.
#include "setup_values.h"

#include <cstdio>

#include "dotted_address.h"
#include "unit_message.h"

namespace {

const int kLineCount = 32;
const int kSerialPorts = 8;
const char kUdpItem[] = "IP UDP/IP";

enum : int { kLevelNone = 0, kLevelBasic = 1, kLevelFullIn = 2, kLevelFullInOut = 3 };

// Bits 1 to 3 as the level they encode; a set bit without the bits below it does not count.
int LevelOfOptions(uint32_t options) {
    if (!(options & CFG_LOGGING))
        return kLevelNone;
    if (!(options & CFG_FULL_LOG))
        return kLevelBasic;
    return (options & CFG_LOG_OUTBOUND) ? kLevelFullInOut : kLevelFullIn;
}

// With no level selected, logging stays on at the basic level.
uint32_t OptionsOfLevel(int level) {
    switch (level) {
    case kLevelNone:
        return 0;
    case kLevelFullIn:
        return CFG_LOGGING | CFG_FULL_LOG;
    case kLevelFullInOut:
        return CFG_LOGGING | CFG_FULL_LOG | CFG_LOG_OUTBOUND;
    default:
        return CFG_LOGGING;
    }
}

std::string TwoDigits(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

std::string PortItem(int portSel) {
    return portSel == PORT_UDP ? kUdpItem : "COM" + std::to_string(portSel);
}

} // namespace

std::vector<std::string> LineCountItems() {
    std::vector<std::string> items;
    for (int n = 1; n <= kLineCount; n++)
        items.push_back(TwoDigits(n));
    return items;
}

std::vector<std::string> PortItems() {
    std::vector<std::string> items;
    for (int n = 1; n <= kSerialPorts; n++)
        items.push_back(PortItem(n));
    items.push_back(kUdpItem);
    return items;
}

int PortNumberOfItem(const std::string &item) {
    size_t end = item.find_last_not_of(' ');
    if (end == std::string::npos)
        return 0;
    char last = item[end];
    return last >= '0' && last <= '9' ? last - '0' : 0;
}

SetupValues SetupValuesFromConfig(const CidConfig &cfg) {
    SetupValues v;
    v.model = cfg.UnitModel <= 2 ? cfg.UnitModel : -1;
    if (cfg.PortSel >= 1 && cfg.PortSel <= PORT_UDP)
        v.portItem = PortItem(cfg.PortSel);
    v.level = LevelOfOptions(cfg.Options);
    v.refresh = (cfg.Options & CFG_REFRESH_END) ? 1 : 0;
    if (cfg.LastLine >= 1 && cfg.LastLine <= kLineCount)
        v.lineItem = TwoDigits(cfg.LastLine);
    v.rawOutput = cfg.Options & CFG_RAW_OUTPUT;
    v.exclShow = cfg.Options & CFG_EXCL_SHOW;
    v.exclLog = cfg.Options & CFG_EXCL_LOG;
    v.noLogWithheld = cfg.Options & CFG_NO_LOG_WITHHELD;
    v.filterIp = cfg.Options & CFG_FILTER_UNIT_IP;
    v.ipText = FormatDottedAddress(cfg.UnitIp);
    if (cfg.UnitModel != 0)
        ApplyOtherModelSelections(v);
    return v;
}

void ApplyOtherModelSelections(SetupValues &values) {
    if (values.level == kLevelFullIn || values.level == kLevelFullInOut)
        values.level = kLevelBasic;
    values.refresh = 0;
}

void SetupValuesToConfig(const SetupValues &values, CidConfig &cfg) {
    uint32_t options = 0;
    int lastLine = ReadLeadingNumber(values.lineItem);
    if (cfg.FirstLine < 1)
        cfg.FirstLine = 1;
    cfg.LastLine = static_cast<uint8_t>(lastLine < 1 ? 4 : lastLine);
    cfg.UnitModel = static_cast<uint8_t>(values.model >= 0 ? values.model : 0);
    int port = PortNumberOfItem(values.portItem);
    cfg.PortSel = static_cast<uint8_t>(port == 0 ? PORT_UDP : port);
    if (values.refresh != 0)
        options |= CFG_REFRESH_END;
    options |= OptionsOfLevel(values.level);
    if (values.rawOutput)
        options |= CFG_RAW_OUTPUT;
    if (values.exclShow)
        options |= CFG_EXCL_SHOW;
    if (values.exclLog)
        options |= CFG_EXCL_LOG;
    if (values.noLogWithheld)
        options |= CFG_NO_LOG_WITHHELD;
    ReadDottedAddress(values.ipText, cfg.UnitIp);
    const bool noAddress =
        cfg.UnitIp[0] == 0 && cfg.UnitIp[1] == 0 && cfg.UnitIp[2] == 0 && cfg.UnitIp[3] == 0;
    if (values.filterIp && !noAddress)
        options |= CFG_FILTER_UNIT_IP;
    cfg.Options = options;
}
