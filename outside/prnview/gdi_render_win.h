// Draws document pages with GDI: the preview at any scale, the printer at its resolution, so
// what is printed is what was previewed.
#pragma once
#include <windows.h>

#include "document.h"

// Where the page lies on a device: pixels per inch and the device point of its top left corner.
struct DeviceFrame {
    double pixelsPerInchX, pixelsPerInchY;
    int originX, originY;
};

// False when memory ran out and the page is not drawn whole.
bool RenderPage(HDC dc, const Document &doc, size_t index, const DeviceFrame &frame);
// A printer's frame: its resolution, with the page's corner ahead of the printable area.
DeviceFrame PrinterFrame(HDC dc);
