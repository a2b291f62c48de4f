// Fuzzes the poll pass rules with any report text and any configuration: no crash, and the log
// record's texts stay terminated within their fields with the reserved bytes zero.
#include "poll_decision.h"
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void CheckNulTerminated(const char *field, size_t width) {
    const char *nul = static_cast<const char *>(std::memchr(field, 0, width));
    Require(nul != nullptr);
    for (const char *p = nul; p < field + width; ++p)
        Require(*p == '\0');
}

} // namespace

// Input: 32 configuration bytes, then the report text; a few reports separated by '\n' share
// one run so that pending names carry over.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < sizeof(CidConfig))
        return 0;
    CidConfig cfg;
    std::memcpy(&cfg, data, sizeof cfg);
    std::string text(reinterpret_cast<const char *>(data) + sizeof cfg, size - sizeof cfg);
    PendingNames pending(cfg);
    auto anyKey = [](const std::string &key) {
        Require(key.size() == 16);
        return key[0] == '5';
    };
    PollInputs in{CivilDate{2026, 2, 28}, 4242, true, anyKey, anyKey};
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        PollDecision d = DecideReport(text.substr(start, end - start), cfg, pending, in);
        const CallLogRecord &r = d.Record;
        CheckNulTerminated(r.ExtraDigits, sizeof r.ExtraDigits);
        CheckNulTerminated(r.Name, sizeof r.Name);
        for (uint8_t b : r.Reserved)
            Require(b == 0);
        CheckNulTerminated(d.Display.Number, sizeof d.Display.Number);
        CheckNulTerminated(d.Display.Name, sizeof d.Display.Name);
        CheckNulTerminated(d.Display.Time, sizeof d.Display.Time);
        if (d.Line != 0)
            Require(d.Line >= 1 && d.Line <= cfg.LastLine);
        if (d.Log)
            Require(r.Line == d.Line && (r.Direction == 'I' || (cfg.Options & CFG_LOG_OUTBOUND)));
        start = end + 1;
    }
    return 0;
}
