// Argument checks and document state for the exports.
#include "engine.h"

#include <cmath>
#include <new>

#include "pdf_writer.h"
#include "prnview.h"

namespace {

constexpr size_t kPdfBufferBytes = 64 * 1024;

bool KnownPageSetup(int32_t paper, int32_t orientation) {
    return paper == PV_PAPER_LETTER && orientation == PV_PORTRAIT;
}

// Far off the page or not a number at all: the renderers turn inches into integer device and
// PDF units, which such values would overflow.
bool Measurable(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v) || std::fabs(v) > kMaxInches)
            return false;
    return true;
}

} // namespace

int32_t Engine::StartDocument(int32_t owner, const char *title, const char *pdfPath,
                              int32_t numberBase, int32_t paper, int32_t orientation,
                              int32_t source) {
    if (state_.handle != 0)
        return PV_ERR_BUSY;
    if (!KnownPageSetup(paper, orientation))
        return PV_ERR_ARGUMENT;
    FILE *pdfFile = nullptr;
    if (pdfPath && *pdfPath) {
        // Created now, so a path that cannot be written fails before any work is done.
        pdfFile = std::fopen(pdfPath, "wb");
        if (!pdfFile)
            return PV_ERR_OUTPUT;
        // The C runtime's 4 KB buffer would make a long report's file a thousand writes and more.
        std::setvbuf(pdfFile, nullptr, _IOFBF, kPdfBufferBytes);
    }
    try {
        const int32_t lastHandle = state_.lastHandle;
        state_ = EngineState{};
        state_.lastHandle = lastHandle;
        state_.pdfFile = pdfFile;
        state_.doc.title = PrintableText(title ? title : "");
        state_.doc.numberBase = numberBase;
        state_.font = state_.doc.FontIndex(TextFont{});
        state_.doc.AddPage(source);
        if (pdfFile)
            state_.pdf = std::make_unique<PdfWriter>(pdfFile);
    } catch (const std::bad_alloc &) {
        Close();
        return pdfFile ? PV_ERR_OUTPUT : PV_ERR_WINDOW;
    }
    if (Attended() && !host_.OpenProgress(owner, state_.doc.title)) {
        Close();
        return PV_ERR_WINDOW;
    }
    state_.handle = ++state_.lastHandle;
    return state_.handle;
}

template <class Add> int32_t Engine::Adding(int32_t doc, Add add) {
    if (!Open(doc))
        return PV_ERR_HANDLE;
    if (state_.cutShort)
        return PV_ERR_WRITE;
    try {
        return add();
    } catch (const std::bad_alloc &) {
        state_.cutShort = true;
        return PV_ERR_WRITE;
    }
}

int32_t Engine::NewPage(int32_t doc, int32_t paper, int32_t orientation, int32_t source) {
    return Adding(doc, [&] {
        if (!KnownPageSetup(paper, orientation))
            return PV_ERR_ARGUMENT;
        state_.doc.AddPage(source);
        if (state_.pdf) {
            try {
                state_.pdf->PagesDone(state_.doc, state_.doc.pages.size() - 2);
            } catch (const std::bad_alloc &) {
                // The document cut short ends on the page that could not be handed on.
                state_.doc.pages.pop_back();
                throw;
            }
        }
        return PV_OK;
    });
}

int32_t Engine::EndDocument(int32_t doc, int32_t mode) {
    if (!Open(doc))
        return PV_ERR_HANDLE;
    if (mode != PV_END_FINISHED && mode != PV_END_STOPPED)
        return PV_ERR_ARGUMENT;
    // A document cut short must not pass for a whole one.
    state_.doc.stopped = mode == PV_END_STOPPED || state_.cutShort;
    int32_t result = PV_OK;
    if (Attended()) {
        if (state_.cutShort)
            host_.ReportCutShort();
        host_.Preview(state_.doc);
    } else {
        const bool written = FinishPdfAndClose(*state_.pdf, state_.doc, state_.pdfFile);
        state_.pdfFile = nullptr;
        if (!written || state_.cutShort)
            result = PV_ERR_WRITE;
    }
    Close();
    return result;
}

void Engine::Close() {
    // The writer reads the document's pages until it stops.
    state_.pdf.reset();
    if (state_.pdfFile)
        std::fclose(state_.pdfFile);
    state_.pdfFile = nullptr;
    state_.handle = 0;
    state_.doc = Document{};
}

int32_t Engine::SetProgress(int32_t doc, int32_t percent) {
    if (!Open(doc))
        return PV_ERR_HANDLE;
    if (Attended())
        host_.ShowProgress(percent < 0 ? 0 : percent > 100 ? 100 : percent);
    return PV_OK;
}

int32_t Engine::CheckAbort(int32_t doc) {
    if (!Open(doc))
        return PV_ERR_HANDLE;
    // Nothing more can go into a document cut short: the caller may as well stop.
    if (state_.cutShort)
        return 1;
    if (!Attended())
        return 0;
    uint32_t now = host_.Ticks();
    if (!state_.checkedOnce || now - state_.lastCheck >= kAbortCheckMs) {
        state_.checkedOnce = true;
        state_.lastCheck = now;
        if (host_.PumpMessages())
            state_.cancelled = true;
    }
    return state_.cancelled ? 1 : 0;
}

int32_t Engine::Font(int32_t doc, int32_t style, int32_t points, int32_t colour, const char *face) {
    return Adding(doc, [&] {
        if (!face || points < 1 || points > 1000)
            return PV_ERR_ARGUMENT;
        const TextFont font{PrintableText(face), points, (style & PV_STYLE_BOLD) != 0,
                            static_cast<uint32_t>(colour) & 0xFFFFFF};
        // Reports set the font before every row, mostly the one in use.
        if (state_.doc.fonts[state_.font] != font)
            state_.font = state_.doc.FontIndex(font);
        return PV_OK;
    });
}

int32_t Engine::Text(int32_t doc, double x, double y, int32_t align, const char *text,
                     bool special) {
    return Adding(doc, [&] {
        if (!text || align < 0 || align > 2 || !Measurable({x, y}))
            return PV_ERR_ARGUMENT;
        state_.doc.AddText(static_cast<float>(x), static_cast<float>(y), static_cast<Align>(align),
                           state_.font, text, special);
        return PV_OK;
    });
}

int32_t Engine::Line(int32_t doc, const ShapeItem &line) {
    return Adding(doc, [&] {
        if (line.width < 0 || !Measurable({line.x1, line.y1, line.x2, line.y2, line.width}))
            return PV_ERR_ARGUMENT;
        ShapeItem item = line;
        item.kind = ShapeKind::Line;
        state_.doc.AddShape(item);
        return PV_OK;
    });
}

int32_t Engine::Rect(int32_t doc, const ShapeItem &rect, int32_t fill) {
    return Adding(doc, [&] {
        if (rect.width < 0 || fill < 0 || fill > 2 ||
            !Measurable({rect.x1, rect.y1, rect.x2, rect.y2, rect.width}))
            return PV_ERR_ARGUMENT;
        static const ShapeKind kinds[] = {ShapeKind::Framed, ShapeKind::Solid, ShapeKind::Outline};
        ShapeItem item = rect;
        item.kind = kinds[fill];
        state_.doc.AddShape(item);
        return PV_OK;
    });
}
