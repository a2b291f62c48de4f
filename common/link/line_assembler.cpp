// Line assembly of the serial unit's output, kept free of the port so it can be tested alone.
#include "line_assembler.h"

void LineAssembler::Append(const char *data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (static_cast<unsigned char>(c) <= 9) {
            continue;
        }
        if (skipping_) {
            if (c == '\n' && skippedCr_) {
                skipping_ = false;
            }
            skippedCr_ = c == '\r';
            continue;
        }
        if (c == '\n' && !partial_.empty() && partial_.back() == '\r') {
            partial_.pop_back();
            Complete();
            continue;
        }
        partial_.push_back(c);
        // One byte of slack for a CR whose LF is still on its way.
        const bool pendingCr = partial_.back() == '\r';
        if (partial_.size() > kMaxLineLength + (pendingCr ? 1 : 0)) {
            skipping_ = true;
            skippedCr_ = pendingCr;
            partial_.clear();
            partial_.shrink_to_fit();
        }
    }
}

void LineAssembler::Append(const char *data, size_t size, uint32_t nowMs) {
    if (size == 0) {
        return;
    }
    // Unsigned difference: right across the tick count's wrap.
    if ((!partial_.empty() || skipping_) && nowMs - lastByteMs_ >= kStalePartialMs) {
        partial_.clear();
        skipping_ = false;
        skippedCr_ = false;
    }
    lastByteMs_ = nowMs;
    Append(data, size);
}

void LineAssembler::Complete() {
    if (queuedBytes_ + partial_.size() <= kMaxQueuedBytes) {
        queuedBytes_ += partial_.size();
        lines_.push_back(std::move(partial_));
    }
    partial_.clear();
}

std::string LineAssembler::TakeLine() {
    if (lines_.empty()) {
        return "";
    }
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    queuedBytes_ -= line.size();
    return line;
}

void LineAssembler::Clear() {
    lines_.clear();
    queuedBytes_ = 0;
    partial_.clear();
    skipping_ = false;
    skippedCr_ = false;
}
