// The engine behind the exports: one open document, its handle, the unattended PDF file and the
// throttled abort check. Windows come from a host, so all of this runs and is tested natively.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "document.h"
#include "pdf_writer.h"

// The windows of an attended document, shown on the caller's thread.
class EngineHost {
  public:
    virtual ~EngineHost() = default;
    virtual uint32_t Ticks() = 0;
    // Disables the owner (0: the active window) and shows the progress window.
    virtual bool OpenProgress(int32_t owner, const std::string &title) = 0;
    virtual void ShowProgress(int32_t percent) = 0;
    // Lets pending window messages through; true once the user pressed Cancel.
    virtual bool PumpMessages() = 0;
    // Closes the progress window and shows the modal preview; gives the owner back its input.
    virtual void Preview(const Document &doc) = 0;
    // Tells the user that memory ran out before the document was whole.
    virtual void ReportCutShort() = 0;
};

// Coordinates and widths beyond this many inches (or points) are refused.
constexpr double kMaxInches = 1000;

// How often pvCheckAbort lets messages through, at most.
constexpr uint32_t kAbortCheckMs = 50;

struct EngineState {
    int32_t handle = 0; // of the open document; 0 when none is open
    int32_t lastHandle = 0;
    Document doc;
    uint16_t font = 0;       // in the document's font table
    FILE *pdfFile = nullptr; // unattended output, open from start to end
    bool checkedOnce = false;
    uint32_t lastCheck = 0;
    bool cancelled = false;
    bool cutShort = false;          // memory ran out: the document holds what came before
    std::unique_ptr<PdfWriter> pdf; // writes pdfFile's pages as they are finished
};

class Engine {
  public:
    explicit Engine(EngineHost &host) : host_(host) {}
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    // `pdfPath` is where an unattended document goes ("" or null: attended).
    int32_t StartDocument(int32_t owner, const char *title, const char *pdfPath, int32_t numberBase,
                          int32_t paper, int32_t orientation, int32_t source);
    int32_t NewPage(int32_t doc, int32_t paper, int32_t orientation, int32_t source);
    int32_t EndDocument(int32_t doc, int32_t mode);
    int32_t SetProgress(int32_t doc, int32_t percent);
    int32_t CheckAbort(int32_t doc);
    int32_t Font(int32_t doc, int32_t style, int32_t points, int32_t colour, const char *face);
    int32_t Text(int32_t doc, double x, double y, int32_t align, const char *text, bool special);
    int32_t Line(int32_t doc, const ShapeItem &line);
    // `rect`'s kind is set from `fill`.
    int32_t Rect(int32_t doc, const ShapeItem &rect, int32_t fill);

    const EngineState &State() const { return state_; }

  private:
    bool Attended() const { return state_.pdfFile == nullptr; }
    bool Open(int32_t doc) const { return state_.handle != 0 && doc == state_.handle; }
    void Close();
    // Runs `add`, which adds to the open document. The engine lives in its host's process: when
    // memory runs out the document is cut short there and then, and every later addition is
    // refused, rather than the host ended.
    template <class Add> int32_t Adding(int32_t doc, Add add);

    EngineHost &host_;
    EngineState state_;
};
