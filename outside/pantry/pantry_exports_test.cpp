// Pantry.dll as other programs load it: every export found by its plain name, and a font made.
#include "pantry_font.h"

#include <gtest/gtest.h>

namespace {

TEST(PantryDll, EveryExportHasItsPlainName) {
    HMODULE dll = LoadLibraryA("Pantry.dll");
    ASSERT_NE(dll, nullptr);
    for (const char *name :
         {"DateToDays", "DaysToDate", "TimeToSeconds", "SecondsToTime", "SecondsToTime12",
          "MonthName", "DOW", "SplitDate", "SplitPath", "Exist", "MakeFontEx"})
        EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
    using DateToDaysFn = int32_t(__stdcall *)(const char *);
    auto dateToDays =
        reinterpret_cast<DateToDaysFn>(reinterpret_cast<void *>(GetProcAddress(dll, "DateToDays")));
    ASSERT_NE(dateToDays, nullptr);
    EXPECT_EQ(dateToDays("01-02-1900"), 2);
    FreeLibrary(dll);
}

TEST(PantryDll, MakeFontExUsesPointsAtTheScreenResolution) {
    HFONT font = MakeFontEx("MS Sans Serif", 12, 400, 0, 0, 0);
    ASSERT_NE(font, nullptr);
    LOGFONTA info{};
    ASSERT_NE(GetObjectA(font, sizeof info, &info), 0);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(info.lfHeight, -MulDiv(12, dpi, 72));
    EXPECT_EQ(info.lfWeight, 400);
    EXPECT_STREQ(info.lfFaceName, "MS Sans Serif");
    DeleteObject(font);
}

} // namespace
