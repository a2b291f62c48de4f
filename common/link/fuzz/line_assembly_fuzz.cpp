// Fuzzes serial line assembly with random chunks against a plain reference of the line rules.
// Each chunk: a control byte (low 7 bits: length; high bit: the chunk repeated 64 times, to
// reach the buffer bounds), the chunk's bytes; a length of 0 takes one line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "line_assembler.h"

namespace {

// The lines the unit sent: codes 0 to 9 dropped, split at each CR LF, the rest partial.
std::vector<std::string> ReferenceLines(const std::string &sent, std::string &partial) {
    std::string text;
    for (const char c : sent) {
        if (static_cast<unsigned char>(c) > 9) {
            text += c;
        }
    }
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
        lines.push_back(text.substr(at, end - at));
    }
    partial = text.substr(at);
    return lines;
}

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    LineAssembler assembler;
    std::string sent;
    std::vector<std::string> taken;
    auto take = [&] {
        std::string line = assembler.TakeLine();
        Check(line.find("\r\n") == std::string::npos);
        for (const char c : line) {
            Check(static_cast<unsigned char>(c) > 9);
        }
        Check(line.size() <= LineAssembler::kMaxLineLength);
        taken.push_back(line);
    };
    size_t at = 0;
    while (at < size) {
        const uint8_t control = data[at++];
        const size_t length = control & 0x7f;
        if (length == 0) {
            take();
            continue;
        }
        const size_t got = length < size - at ? length : size - at;
        const char *chunk = reinterpret_cast<const char *>(data + at);
        at += got;
        for (int i = 0; i < ((control & 0x80) ? 64 : 1); ++i) {
            assembler.Append(chunk, got);
            sent.append(chunk, got);
        }
        Check(assembler.BufferedBytes() <=
              LineAssembler::kMaxQueuedBytes + LineAssembler::kMaxLineLength + 1);
    }
    for (size_t left = LineAssembler::kMaxQueuedBytes + 1; left > 0; --left) {
        take();
        if (assembler.BufferedBytes() == 0 || taken.back().empty()) {
            break;
        }
    }
    // Every non-empty line taken is a line that was sent, in order; nothing is ever cut.
    std::string partial;
    const std::vector<std::string> reference = ReferenceLines(sent, partial);
    size_t next = 0;
    for (const std::string &line : taken) {
        if (line.empty()) {
            continue;
        }
        while (next < reference.size() && reference[next] != line) {
            ++next;
        }
        Check(next < reference.size());
        ++next;
    }
    return 0;
}
