// KEYFILE.dll, loaded at run time as the programs that import it by name would find it:
// every entry point under its plain name, and a round trip through them.
#include "keyfile.h"
#include <cstring>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

// GetProcAddress gives a generic pointer; casting through void (*)() says the type is known.
template <typename Fn> Fn Entry(HMODULE dll, const char *name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

const char *const kExports[] = {"kf_Create", "kf_Open",     "kf_Count", "kf_Delete",
                                "kf_Close",  "kf_CloseAll", "kf"};

TEST(KeyfileExports, EveryEntryPointHasItsPlainName) {
    HMODULE dll = LoadLibraryA("KEYFILE.dll");
    ASSERT_NE(dll, nullptr);
    for (const char *name : kExports)
        EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
    FreeLibrary(dll);
}

TEST(KeyfileExports, ExclusionListRoundTripThroughLoadedEntryPoints) {
    HMODULE dll = LoadLibraryA("KEYFILE.dll");
    ASSERT_NE(dll, nullptr);
    using CreateFn = int32_t(__stdcall *)(const char *, const uint8_t *, const int32_t *);
    using OpenFn = int32_t(__stdcall *)(const char *, const int32_t *);
    using HandleFn = int32_t(__stdcall *)(const int32_t *);
    using RecordFn = int32_t(__stdcall *)(const int32_t *, const int32_t *, void *, const int32_t *,
                                          void *, const int32_t *, const int32_t *);
    const auto create = Entry<CreateFn>(dll, "kf_Create");
    const auto open = Entry<OpenFn>(dll, "kf_Open");
    const auto count = Entry<HandleFn>(dll, "kf_Count");
    const auto close = Entry<HandleFn>(dll, "kf_Close");
    const auto record = Entry<RecordFn>(dll, "kf");
    ASSERT_TRUE(create && open && count && close && record);

    char path[MAX_PATH];
    ASSERT_NE(GetTempPathA(sizeof path, path), 0u);
    std::strcat(path, "keyfile_exports.CID");
    DeleteFileA(path);
    uint8_t definition[33] = {1, 0, 1};
    std::memcpy(definition + 3, "Exlude Phone             ", 25);
    const uint8_t segment[5] = {1, 1, 0, 16, 6};
    std::memcpy(definition + 28, segment, 5);
    const int32_t zero = 0, mode = 1, insert = 2, getEqual = 5, length = 64, keyLength = 16,
                  keyNumber = 1;
    ASSERT_EQ(create(path, definition, &zero), 0);
    const int32_t h = open(path, &mode);
    ASSERT_GE(h, 1);
    char entry[64] = "5551234         note";
    EXPECT_EQ(record(&insert, &h, entry, &length, nullptr, &zero, &zero), 0);
    EXPECT_EQ(record(&insert, &h, entry, &length, nullptr, &zero, &zero), KF_DUPLICATE);
    char back[64] = {};
    EXPECT_EQ(record(&getEqual, &h, back, &length, entry, &keyLength, &keyNumber), 0);
    EXPECT_STREQ(back + 16, "note");
    EXPECT_EQ(count(&h), 1);
    EXPECT_EQ(close(&h), 0);
    FreeLibrary(dll);
    DeleteFileA(path);
}

} // namespace
