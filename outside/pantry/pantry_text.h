// How Pantry hands texts to its callers' buffers: whole, or not at all.
#pragma once
#include <cstdint>

// Copies text (null = invalid input) with its NUL when it fits in size bytes and returns its
// length; otherwise leaves an empty text (when size >= 1) and returns 0.
int32_t PutText(const char *text, char *out, int32_t size);
