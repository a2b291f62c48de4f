// Line assembly of the serial unit's output: splitting, dropped control codes, bounded buffer.
#include "line_assembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Feeds each chunk, then takes lines until none is left.
std::vector<std::string> Assemble(LineAssembler &lines, const std::vector<std::string> &chunks) {
    std::vector<std::string> out;
    for (const std::string &chunk : chunks) {
        lines.Append(chunk.data(), chunk.size());
    }
    for (std::string line = lines.TakeLine(); !line.empty(); line = lines.TakeLine()) {
        out.push_back(line);
    }
    return out;
}

struct Case {
    const char *name;
    std::vector<std::string> chunks;
    std::vector<std::string> lines;
};

TEST(LineAssembler, Cases) {
    const std::string nul(1, '\0');
    const Case cases[] = {
        {"whole line", {"01 I S\r\n"}, {"01 I S"}},
        {"line split before CR LF", {"01 I", " S"}, {}},
        {"CR LF split over two reads", {"01 I S\r", "\n"}, {"01 I S"}},
        {"two lines in one read", {"a\r\nb\r\n"}, {"a", "b"}},
        {"TAB and NUL removed", {"a\tb" + nul + "c\r\n"}, {"abc"}},
        {"codes 1 to 9 removed, 11 and up kept",
         {"a\x01\x09\x0b\x1f"
          "b\r\n"},
         {"a\x0b\x1f"
          "b"}},
        {"lone CR and LF stay", {"a\rb\nc\r\n"}, {"a\rb\nc"}},
        {"CR CR LF keeps the first CR", {"a\r\r\n"}, {"a\r"}},
        {"TAB between CR and LF still ends the line", {"a\r\t\n"}, {"a"}},
        {"partial line kept", {"a\r\nb"}, {"a"}},
    };
    for (const Case &c : cases) {
        LineAssembler lines;
        EXPECT_EQ(Assemble(lines, c.chunks), c.lines) << c.name;
    }
}

TEST(LineAssembler, OneLinePerCallAndPartialKept) {
    LineAssembler lines;
    const std::string text = "first\r\nsecond\r\nthi";
    lines.Append(text.data(), text.size());
    EXPECT_EQ(lines.TakeLine(), "first");
    EXPECT_EQ(lines.TakeLine(), "second");
    EXPECT_EQ(lines.TakeLine(), "");
    lines.Append("rd\r\n", 4);
    EXPECT_EQ(lines.TakeLine(), "third");
}

TEST(LineAssembler, ClearForgetsLinesAndPartial) {
    LineAssembler lines;
    lines.Append("a\r\nb", 4);
    lines.Clear();
    lines.Append("c\r\n", 3);
    EXPECT_EQ(lines.TakeLine(), "c");
    EXPECT_EQ(lines.BufferedBytes(), 0u);
}

TEST(LineAssembler, LongestLineKept) {
    LineAssembler lines;
    const std::string longest(LineAssembler::kMaxLineLength, 'x');
    const std::string text = longest + "\r\n";
    // Byte by byte, so the CR waits alone for its LF at the limit.
    for (char c : text) {
        lines.Append(&c, 1);
    }
    EXPECT_EQ(lines.TakeLine(), longest);
}

// A device that never sends CR LF must not grow the buffer, and the good line after it must
// come through whole, while the over-long one is never returned cut.
TEST(LineAssembler, OverlongLineDroppedUpToItsCrLf) {
    struct Overlong {
        const char *name;
        std::string tail; // what ends the over-long text
    };
    const Overlong cases[] = {
        {"ended by CR LF", "\r\n"},
        {"CR LF split over reads", "\r"},
    };
    for (const Overlong &c : cases) {
        LineAssembler lines;
        const std::string junk(1000, 'j');
        for (int i = 0; i < 100; ++i) {
            lines.Append(junk.data(), junk.size());
            EXPECT_LE(lines.BufferedBytes(), LineAssembler::kMaxLineLength + 1) << c.name;
        }
        EXPECT_EQ(lines.TakeLine(), "") << c.name;
        lines.Append(c.tail.data(), c.tail.size());
        const std::string rest = std::string(c.tail == "\r" ? "\n" : "") + "good\r\n";
        lines.Append(rest.data(), rest.size());
        EXPECT_EQ(lines.TakeLine(), "good") << c.name;
        EXPECT_EQ(lines.TakeLine(), "") << c.name;
    }
}

TEST(LineAssembler, QueuedLinesBounded) {
    LineAssembler lines;
    const std::string line = std::string(1000, 'q') + "\r\n";
    for (int i = 0; i < 200; ++i) {
        lines.Append(line.data(), line.size());
    }
    EXPECT_LE(lines.BufferedBytes(), LineAssembler::kMaxQueuedBytes);
    size_t taken = 0;
    for (std::string got = lines.TakeLine(); !got.empty(); got = lines.TakeLine()) {
        EXPECT_EQ(got.size(), 1000u);
        ++taken;
    }
    EXPECT_EQ(taken, LineAssembler::kMaxQueuedBytes / 1000);
}

struct TimedChunk {
    uint32_t atMs;
    std::string bytes;
};

struct TimedCase {
    const char *name;
    std::vector<TimedChunk> chunks;
    std::vector<std::string> lines;
};

// Bytes that wait for their line's end across passes, against fragments the unit never ends.
TEST(LineAssembler, StalePartialLines) {
    const uint32_t stale = LineAssembler::kStalePartialMs;
    const std::string overLong(LineAssembler::kMaxLineLength + 10, 'x');
    const TimedCase cases[] = {
        {"end of a line a pass later", {{1000, "01 I S"}, {1500, " 0000\r\n"}}, {"01 I S 0000"}},
        {"fragment left alone, then a report",
         {{1000, "PARTIAL"}, {1000 + stale, "01 I S\r\n"}},
         {"01 I S"}},
        {"just before the limit still joins",
         {{1000, "01 I"}, {1000 + stale - 1, " S\r\n"}},
         {"01 I S"}},
        {"over-long run without CR LF, then a report",
         {{1000, overLong}, {1000 + stale, "01 I S\r\n"}},
         {"01 I S"}},
        {"complete lines are never dropped",
         {{1000, "a\r\n"}, {1000 + 3 * stale, "b\r\n"}},
         {"a", "b"}},
        {"tick count wraps", {{0xFFFFFF00u, "01 I"}, {0x00000010u, " S\r\n"}}, {"01 I S"}},
    };
    for (const TimedCase &c : cases) {
        LineAssembler lines;
        for (const TimedChunk &chunk : c.chunks) {
            lines.Append(chunk.bytes.data(), chunk.bytes.size(), chunk.atMs);
        }
        std::vector<std::string> out;
        for (std::string line = lines.TakeLine(); !line.empty(); line = lines.TakeLine()) {
            out.push_back(line);
        }
        EXPECT_EQ(out, c.lines) << c.name;
    }
}

} // namespace
