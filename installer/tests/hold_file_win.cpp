// hold_file PATH: keeps PATH open for reading and lets others only read it, as Windows keeps a
// DLL that a running program has loaded, until the process is killed. Exit 1 when it cannot.
#include <windows.h>

int main(int argc, char **argv) {
    if (argc != 2)
        return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    Sleep(INFINITE);
    return 0;
}
