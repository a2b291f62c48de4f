// Pantry's portable core: buffers handed back to callers and splitting of paths.
#include "pantry.h"
#include "pantry_text.h"

#include <cstdlib>
#include <cstring>

int32_t PutText(const char *text, char *out, int32_t size) {
    if (out == nullptr || size < 1)
        return 0;
    const size_t length = text ? std::strlen(text) : 0;
    if (text == nullptr || length >= static_cast<size_t>(size)) {
        out[0] = '\0';
        return 0;
    }
    std::memcpy(out, text, length + 1);
    return static_cast<int32_t>(length);
}

namespace {

// Splits path (length characters) into the three buffers: all of them or, when a part does not
// fit, none.
int32_t SplitWhole(const char *path, size_t length, char *drive, char *folder, char *name,
                   int32_t size) {
    const size_t driveLength = length >= 2 && path[1] == ':' ? 2 : 0;
    size_t folderEnd = driveLength;
    for (size_t i = length; i > driveLength; --i)
        if (path[i - 1] == '\\' || path[i - 1] == '/') {
            folderEnd = i;
            break;
        }
    // Each part is [start, end) of path; all three are written or none.
    const size_t ends[] = {0, driveLength, folderEnd, length};
    char *const outs[] = {drive, folder, name};
    for (int i = 0; i < 3; ++i)
        if (ends[i + 1] - ends[i] >= static_cast<size_t>(size)) {
            for (char *out : outs)
                out[0] = '\0';
            return 0;
        }
    for (int i = 0; i < 3; ++i) {
        std::memcpy(outs[i], path + ends[i], ends[i + 1] - ends[i]);
        outs[i][ends[i + 1] - ends[i]] = '\0';
    }
    return 1;
}

} // namespace

extern "C" int32_t PANTRY_CALL SplitPath(const char *path, char *drive, char *folder, char *name,
                                         int32_t size) {
    if (path == nullptr || drive == nullptr || folder == nullptr || name == nullptr || size < 1)
        return 0;
    // Callers may split a path held in one of their output buffers: work from a copy.
    const size_t length = std::strlen(path);
    char *const whole = static_cast<char *>(std::malloc(length + 1));
    if (whole == nullptr)
        return 0;
    std::memcpy(whole, path, length + 1);
    const int32_t split = SplitWhole(whole, length, drive, folder, name, size);
    std::free(whole);
    return split;
}
