// Pantry's file test for the portable build.
#include "pantry.h"

#include <sys/stat.h>

extern "C" int32_t PANTRY_CALL Exist(const char *path) {
    struct stat info;
    return path != nullptr && stat(path, &info) == 0 && S_ISREG(info.st_mode) ? 1 : 0;
}
