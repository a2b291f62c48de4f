// Assembles the serial unit's output bytes into call report lines ended by CR LF.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

class LineAssembler {
  public:
    // Longest line kept; a device that sends more without CR LF loses that line, not memory.
    static constexpr size_t kMaxLineLength = 4096;
    // Complete lines waiting to be taken; lines arriving beyond this are dropped whole.
    static constexpr size_t kMaxQueuedBytes = 65536;

    // A partial line that waits this long for more bytes is a fragment: the unit sends a line
    // in one go (under 0.1 s at 9600 bit/s), so what follows belongs to a new line.
    static constexpr uint32_t kStalePartialMs = 5000;

    // Adds received bytes; codes 0 to 9 are dropped, a lone CR or LF stays in the text.
    void Append(const char *data, size_t size);
    // The same for bytes received at nowMs (a tick count); a stale partial line is dropped
    // first, so a fragment left by a unit reset or a pulled cable cannot spoil the next report.
    void Append(const char *data, size_t size, uint32_t nowMs);
    // The oldest complete line without its CR LF, or "" when none is complete.
    std::string TakeLine();
    // Forgets everything received so far.
    void Clear();
    // Bytes held: complete lines plus the partial line.
    size_t BufferedBytes() const { return queuedBytes_ + partial_.size(); }

  private:
    void Complete();

    std::deque<std::string> lines_;
    size_t queuedBytes_ = 0;
    std::string partial_;
    // Set while the rest of an over-long line is skipped up to its CR LF.
    bool skipping_ = false;
    bool skippedCr_ = false;
    uint32_t lastByteMs_ = 0;
};
