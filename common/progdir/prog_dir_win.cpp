// The program directory from the module file name of the process's executable.
#include <windows.h>

#include "prog_dir.h"

#include <vector>

std::string ProgramFileOfModule() {
    // GetModuleFileNameA cuts the name to the buffer without failing (it returns the buffer
    // size), so grow the buffer until the name and its NUL fit: a cut name would point at the
    // wrong folder. Most paths fit the first buffer.
    for (DWORD size = 128; size <= 65536; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0)
            return "";
        if (length < size)
            return std::string(buffer.data(), length);
    }
    return "";
}

std::string ProgramDirOfModule() { return FolderOfPath(ProgramFileOfModule()); }
