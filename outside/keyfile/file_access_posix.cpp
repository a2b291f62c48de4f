// File-system calls of the record manager on POSIX systems, where names are already UTF-8.
#include "file_access.h"
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

NewFileResult CreateNewFile(const char *path) {
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? NewFileResult::Exists : NewFileResult::Failed;
    close(fd);
    return NewFileResult::Created;
}

void RemoveFile(const char *path) {
    unlink(path);
}

std::string PathForSqlite(const char *path) {
    return path;
}
