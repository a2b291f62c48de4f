// Pantry's fonts: sizes in points at the screen's logical resolution, as dialogs expect them.
#include "pantry_font.h"

extern "C" HFONT PANTRY_CALL MakeFontEx(const char *face, int32_t points, int32_t weight,
                                        int32_t italic, int32_t underline, int32_t strikeout) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    // A negative height asks for the character height, which is what a point size means.
    const int height = -MulDiv(points, dpi > 0 ? dpi : 96, 72);
    return CreateFontA(height, 0, 0, 0, weight, italic ? TRUE : FALSE, underline ? TRUE : FALSE,
                       strikeout ? TRUE : FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       face ? face : "");
}
