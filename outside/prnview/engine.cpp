// Argument checks and document state for the exports.
#include "engine.h"

#include <cmath>

#include "pdf_writer.h"
#include "prnview.h"

namespace {

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
    }
    state_ = EngineState{0, state_.lastHandle, {}, {}, pdfFile};
    state_.doc.title = PrintableText(title ? title : "");
    state_.doc.numberBase = numberBase;
    state_.doc.pages.push_back(Page{source, {}});
    if (Attended() && !host_.OpenProgress(owner, state_.doc.title))
        return PV_ERR_WINDOW;
    state_.handle = ++state_.lastHandle;
    return state_.handle;
}

int32_t Engine::NewPage(int32_t doc, int32_t paper, int32_t orientation, int32_t source) {
    if (!Open(doc))
        return PV_ERR_HANDLE;
    if (!KnownPageSetup(paper, orientation))
        return PV_ERR_ARGUMENT;
    state_.doc.pages.push_back(Page{source, {}});
    return PV_OK;
}

int32_t Engine::EndDocument(int32_t doc, int32_t mode) {
    if (!Open(doc))
        return PV_ERR_HANDLE;
    if (mode != PV_END_FINISHED && mode != PV_END_STOPPED)
        return PV_ERR_ARGUMENT;
    state_.doc.stopped = mode == PV_END_STOPPED;
    int32_t result = PV_OK;
    if (Attended()) {
        host_.Preview(state_.doc);
    } else {
        std::string bytes = PdfBytes(state_.doc);
        // Flushed before closing: Wine's fclose reports success when its own flush failed.
        bool written = std::fwrite(bytes.data(), 1, bytes.size(), state_.pdfFile) == bytes.size() &&
                       std::fflush(state_.pdfFile) == 0;
        if (std::fclose(state_.pdfFile) != 0 || !written)
            result = PV_ERR_WRITE;
        state_.pdfFile = nullptr;
    }
    Close();
    return result;
}

void Engine::Close() {
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
    if (!Open(doc))
        return PV_ERR_HANDLE;
    if (!face || points < 1 || points > 1000)
        return PV_ERR_ARGUMENT;
    state_.font = TextFont{PrintableText(face), points, (style & PV_STYLE_BOLD) != 0,
                           static_cast<uint32_t>(colour) & 0xFFFFFF};
    return PV_OK;
}

int32_t Engine::Text(int32_t doc, double x, double y, int32_t align, const char *text,
                     bool special) {
    if (!Open(doc))
        return PV_ERR_HANDLE;
    if (!text || align < 0 || align > 2 || !Measurable({x, y}))
        return PV_ERR_ARGUMENT;
    state_.doc.pages.back().items.push_back(
        TextItem{x, y, static_cast<Align>(align), state_.font, PrintableText(text), special});
    return PV_OK;
}

int32_t Engine::Line(int32_t doc, const LineItem &line) {
    if (!Open(doc))
        return PV_ERR_HANDLE;
    if (line.width < 0 || !Measurable({line.x1, line.y1, line.x2, line.y2, line.width}))
        return PV_ERR_ARGUMENT;
    state_.doc.pages.back().items.push_back(line);
    return PV_OK;
}

int32_t Engine::Rect(int32_t doc, const RectItem &rect, int32_t fill) {
    if (!Open(doc))
        return PV_ERR_HANDLE;
    if (rect.width < 0 || fill < 0 || fill > 2 ||
        !Measurable({rect.x1, rect.y1, rect.x2, rect.y2, rect.width}))
        return PV_ERR_ARGUMENT;
    RectItem item = rect;
    item.fill = static_cast<RectFill>(fill);
    state_.doc.pages.back().items.push_back(item);
    return PV_OK;
}
