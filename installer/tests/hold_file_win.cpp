// hold_file PATH [none SECONDS]: keeps PATH open for reading and lets others only read it, as
// Windows keeps a DLL that a running program has loaded, until the process is killed. With
// "none", lets nobody else open it, as a backup or copy tool may, for SECONDS and then exits.
// Exit 1 when it cannot open the file.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char **argv) {
    const bool exclusive = argc == 4 && std::strcmp(argv[2], "none") == 0;
    if (argc != 2 && !exclusive)
        return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, exclusive ? 0 : FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    Sleep(exclusive ? static_cast<DWORD>(std::atoi(argv[3])) * 1000 : INFINITE);
    CloseHandle(file);
    return 0;
}
