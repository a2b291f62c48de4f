// The portable half of the program directory: the folder part of a path.
#include "prog_dir.h"

std::string FolderOfPath(const std::string &path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}
