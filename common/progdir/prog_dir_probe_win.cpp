// Prints the program directory as the probe sees it, for the test that runs it from deep folders.
#include "prog_dir.h"

#include <cstdio>

int main() {
    std::printf("%s\n", ProgramDirOfModule().c_str());
    return 0;
}
