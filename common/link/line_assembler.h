// Assembles the serial unit's output bytes into call report lines ended by CR LF.
#pragma once
#include <cstddef>
#include <deque>
#include <string>

class LineAssembler {
  public:
    // Longest line kept; a device that sends more without CR LF loses that line, not memory.
    static constexpr size_t kMaxLineLength = 4096;
    // Complete lines waiting to be taken; lines arriving beyond this are dropped whole.
    static constexpr size_t kMaxQueuedBytes = 65536;

    // Adds received bytes; codes 0 to 9 are dropped, a lone CR or LF stays in the text.
    void Append(const char *data, size_t size);
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
};
