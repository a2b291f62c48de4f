// Test helper: holds one file open without sharing, as another server would, until its standard
// input closes. Prints "held" once the file is open.
#include <windows.h>

#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 2)
        return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    char byte;
    while (std::fread(&byte, 1, 1, stdin) == 1) {
    }
    CloseHandle(file);
    return 0;
}
