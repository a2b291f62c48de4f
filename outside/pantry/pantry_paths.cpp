// Pantry's portable core: buffers handed back to callers and splitting of paths.
#include "pantry.h"
#include "pantry_text.h"

#include <cstring>
#include <string>

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

extern "C" int32_t PANTRY_CALL SplitPath(const char *path, char *drive, char *folder, char *name,
                                         int32_t size) {
    if (path == nullptr || drive == nullptr || folder == nullptr || name == nullptr || size < 1)
        return 0;
    const std::string whole(path);
    const size_t driveLength = whole.size() >= 2 && whole[1] == ':' ? 2 : 0;
    const size_t slash = whole.find_last_of("\\/");
    const size_t folderEnd =
        slash == std::string::npos || slash < driveLength ? driveLength : slash + 1;
    const std::string parts[] = {whole.substr(0, driveLength),
                                 whole.substr(driveLength, folderEnd - driveLength),
                                 whole.substr(folderEnd)};
    char *const outs[] = {drive, folder, name};
    for (const std::string &part : parts)
        if (part.size() >= static_cast<size_t>(size)) {
            for (char *out : outs)
                out[0] = '\0';
            return 0;
        }
    for (int i = 0; i < 3; ++i)
        PutText(parts[i].c_str(), outs[i], size);
    return 1;
}
