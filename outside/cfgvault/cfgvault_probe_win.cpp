// Writes what Cfgvault.dll returns to the program it was copied beside, for the test that runs
// it from program folders with and without a POSOvena.INI: both results, then both records.
#include "cfgvault.h"

#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 2)
        return 2;
    unsigned char store[400], work[280];
    const int32_t storeResult = GetStoreDat(0, store), workResult = GetWorkDat(0, work);
    FILE *out = std::fopen(argv[1], "wb");
    if (out == nullptr)
        return 3;
    std::fwrite(&storeResult, sizeof storeResult, 1, out);
    std::fwrite(&workResult, sizeof workResult, 1, out);
    std::fwrite(store, 1, sizeof store, out);
    std::fwrite(work, 1, sizeof work, out);
    return std::fclose(out) == 0 ? 0 : 3;
}
