// PRNVIEW32.dll as a host calls it: the unattended PDF file, handles and refusals, the progress
// window with its Cancel, the preview paged by keys, and the message shown when no printer is
// installed, all read from the real windows.
#include <windows.h>

#include <commctrl.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>
#include <thread>

#include "pdf_streams_test.h"
#include "prnview.h"
#include "test_windows.h"

namespace {

constexpr int kPageLabelId = 205;
constexpr int kFitPageId = 206, kFitWidthId = 207, kPrintButtonId = 209, kSavePdfId = 210;
constexpr int kPageViewId = 211, kZoomInId = 212, kZoomLabelId = 213;

const DWORD kWaitMs = 20000;

HWND WaitForDialog(const char *caption) {
    return FindDialog(GetCurrentProcessId(), caption, kWaitMs);
}

std::string ReadFileBytes(const std::string &path) {
    std::string bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return bytes;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n > 0)
        bytes.append(buf, n);
    CloseHandle(f);
    return bytes;
}

std::string TempPath(const char *name) {
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + name;
}

int32_t Start(const char *title, int32_t owner = 0) {
    return pvStartDoc(owner, title, "", 0, 1, 0, 7, 4169);
}

void DrawPage(int32_t doc, const char *heading) {
    pvRect(doc, 0.5f, 0.5f, 8.0f, 0.8f, 1.0f, 0xFFFFFF, 0);
    pvFont(doc, 0, 12, 0, "Times New Roman");
    pvText(doc, 4.25f, 0.56f, 1, heading);
    pvFont(doc, 0, 8, 0, "Times New Roman");
    pvSpecialText(doc, 0.5f, 10.2f, 0, "Store  Page ##pageno## of ##pagecount##");
    pvLine(doc, 0.5f, 1.1f, 8.0f, 1.1f, 1.0f, 0);
}

class Unattended : public ::testing::Test {
  protected:
    void SetUp() override {
        path = TempPath("prnview_exports_test.pdf");
        DeleteFileA(path.c_str());
        SetEnvironmentVariableA("PRNVIEW32_PDF", path.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableA("PRNVIEW32_PDF", nullptr);
        DeleteFileA(path.c_str());
    }
    std::string path;
};

BOOL CALLBACK CountVisible(HWND window, LPARAM count) {
    if (IsWindowVisible(window))
        ++*reinterpret_cast<int *>(count);
    return TRUE;
}

TEST_F(Unattended, WritesThePdfWithNoWindowEvenWhenStopped) {
    int32_t doc = Start("Filed Report");
    ASSERT_GE(doc, 1);
    int visible = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&visible));
    EXPECT_EQ(visible, 0);
    EXPECT_EQ(pvSetProgress(doc, 250), PV_OK);
    EXPECT_EQ(pvCheckAbort(doc), 0);
    DrawPage(doc, "Inbound Call Log From 05 Jan 2004 to 07 Jan 2004");
    ASSERT_EQ(pvNewPage(doc, 1, 0, 7), PV_OK);
    DrawPage(doc, "Continued");
    EXPECT_EQ(pvEndDoc(doc, 6), PV_OK);
    std::string pdf = ReadFileBytes(path);
    EXPECT_EQ(pdf.rfind("%PDF-1.4", 0), 0u);
    const std::string drawn = InflatedStreams(pdf);
    for (const char *expected :
         {"(Inbound Call Log From 05 Jan 2004 to 07 Jan 2004) Tj", "(Store  Page 1 of 2) Tj",
          "(Store  Page 2 of 2 \\(stopped\\)) Tj"})
        EXPECT_NE(drawn.find(expected), std::string::npos) << expected;
    for (const char *expected : {"/Title (Filed Report \\(stopped\\))", "/BaseFont /Times-Roman"})
        EXPECT_NE(pdf.find(expected), std::string::npos) << expected;
}

// Every "YYYY-MM-DD HHMMSS" from now to `seconds` on.
std::vector<std::string> StampsFromNow(int seconds) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME file;
    SystemTimeToFileTime(&now, &file);
    std::vector<std::string> stamps;
    for (int i = 0; i <= seconds; ++i) {
        ULARGE_INTEGER at{{file.dwLowDateTime, file.dwHighDateTime}};
        at.QuadPart += 10000000ULL * i;
        const FILETIME next{at.LowPart, at.HighPart};
        SYSTEMTIME t;
        FileTimeToSystemTime(&next, &t);
        char stamp[32];
        wsprintfA(stamp, "%04u-%02u-%02u %02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
        stamps.push_back(stamp);
    }
    return stamps;
}

std::vector<std::string> FilesIn(const std::string &folder) {
    return FileNamesMatching(folder + "*.pdf");
}

bool MakeEmptyFile(const std::string &path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    return f != INVALID_HANDLE_VALUE && CloseHandle(f);
}

void RemoveFolderOfPdfs(const std::string &folder) {
    for (const std::string &name : FilesIn(folder))
        DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
}

// A folder files each document under its title and start time; a name taken already (made
// here for the next seconds) gets " (2)", and a document refused at the start leaves no file.
TEST_F(Unattended, AFolderFilesEachDocumentUnderANameOfItsOwn) {
    const std::string folder = TempPath("prnview_filed\\");
    for (const std::string &value : {folder, folder.substr(0, folder.size() - 1)}) {
        CreateDirectoryA(folder.c_str(), nullptr);
        SetEnvironmentVariableA("PRNVIEW32_PDF", value.c_str());
        std::vector<std::string> taken;
        for (const std::string &stamp : StampsFromNow(10)) {
            taken.push_back("Calls 12-08-2026 " + stamp + ".pdf");
            ASSERT_TRUE(MakeEmptyFile(folder + taken.back())) << taken.back();
        }
        const int32_t doc = Start("Calls 12/08/2026");
        ASSERT_GE(doc, 1) << value;
        EXPECT_EQ(Start("Second"), PV_ERR_BUSY);
        DrawPage(doc, "Filed");
        EXPECT_EQ(pvEndDoc(doc, 4), PV_OK);
        std::vector<std::string> filed;
        for (const std::string &name : FilesIn(folder))
            if (std::find(taken.begin(), taken.end(), name) == taken.end())
                filed.push_back(name);
        ASSERT_EQ(filed.size(), 1u) << value;
        const std::string first = filed[0].substr(0, filed[0].size() - 8) + ".pdf";
        EXPECT_EQ(filed[0].substr(filed[0].size() - 8), " (2).pdf") << filed[0];
        EXPECT_NE(std::find(taken.begin(), taken.end(), first), taken.end()) << filed[0];
        EXPECT_EQ(ReadFileBytes(folder + filed[0]).rfind("%PDF-1.4", 0), 0u) << filed[0];
        EXPECT_EQ(ReadFileBytes(folder + first), "") << "the taken name is left alone";
        RemoveFolderOfPdfs(folder);
    }
}

// The device that is always full: the file opens, but the document cannot be written.
TEST_F(Unattended, AWriteThatFailsIsReportedAtTheEnd) {
    SetEnvironmentVariableA("PRNVIEW32_PDF", "Z:\\dev\\full");
    const int32_t doc = Start("Full");
    ASSERT_GE(doc, 1);
    DrawPage(doc, "Full");
    EXPECT_EQ(pvEndDoc(doc, 4), PV_ERR_WRITE);
}

TEST_F(Unattended, WrongHandlesAndASecondDocumentAreRefused) {
    int32_t doc = Start("First");
    ASSERT_GE(doc, 1);
    EXPECT_EQ(Start("Second"), PV_ERR_BUSY);
    for (int32_t wrong : {0, doc + 1, -doc}) {
        EXPECT_EQ(pvNewPage(wrong, 1, 0, 7), PV_ERR_HANDLE);
        EXPECT_EQ(pvSetProgress(wrong, 1), PV_ERR_HANDLE);
        EXPECT_EQ(pvCheckAbort(wrong), PV_ERR_HANDLE);
        EXPECT_EQ(pvFont(wrong, 0, 10, 0, "Arial"), PV_ERR_HANDLE);
        EXPECT_EQ(pvText(wrong, 1, 1, 0, "x"), PV_ERR_HANDLE);
        EXPECT_EQ(pvSpecialText(wrong, 1, 1, 0, "x"), PV_ERR_HANDLE);
        EXPECT_EQ(pvLine(wrong, 1, 1, 2, 2, 1, 0), PV_ERR_HANDLE);
        EXPECT_EQ(pvRect(wrong, 1, 1, 2, 2, 1, 0, 0), PV_ERR_HANDLE);
        EXPECT_EQ(pvEndDoc(wrong, 4), PV_ERR_HANDLE);
    }
    EXPECT_EQ(pvText(doc, 1, 1, 0, nullptr), PV_ERR_ARGUMENT);
    EXPECT_EQ(pvEndDoc(doc, 4), PV_OK);
    EXPECT_EQ(pvEndDoc(doc, 4), PV_ERR_HANDLE) << "an ended document's handle is stale";
}

TEST_F(Unattended, AnOutputPathThatCannotBeCreatedFailsAtTheStart) {
    SetEnvironmentVariableA("PRNVIEW32_PDF", "C:\\no such folder\\report.pdf");
    EXPECT_EQ(Start("Nowhere"), PV_ERR_OUTPUT);
}

// A plain top-level window standing for the back office.
class Attended : public ::testing::Test {
  protected:
    void SetUp() override {
        SetEnvironmentVariableA("PRNVIEW32_PDF", nullptr);
        host = CreateWindowExA(0, "Static", "Back Office", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                               400, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(host, nullptr);
        SetForegroundWindow(host);
        SetActiveWindow(host);
        ASSERT_EQ(GetActiveWindow(), host);
    }
    void TearDown() override { DestroyWindow(host); }

    // Runs pvEndDoc while `drive` works the preview from another thread.
    int32_t EndWithPreview(int32_t doc, int32_t mode, const std::function<void()> &drive) {
        std::thread driver(drive);
        int32_t result = pvEndDoc(doc, mode);
        driver.join();
        return result;
    }

    HWND host = nullptr;
};

TEST_F(Attended, CancelInTheProgressWindowStopsTheDocument) {
    int32_t doc = Start("Progress Test");
    ASSERT_GE(doc, 1);
    HWND progress = WaitForDialog("Progress Test");
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(GetWindow(progress, GW_OWNER), host) << "owned by the active window";
    EXPECT_FALSE(IsWindowEnabled(host)) << "the back office is disabled meanwhile";
    pvSetProgress(doc, 250);
    EXPECT_EQ(SendDlgItemMessageA(progress, 102, PBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(pvCheckAbort(doc), 0);
    PostMessageA(GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return pvCheckAbort(doc) == 1; }, kWaitMs));
    DrawPage(doc, "Partial");
    bool sawStopped = false, ownerStillDisabled = false;
    std::string label;
    EXPECT_EQ(EndWithPreview(doc, 6,
                             [&] {
                                 HWND preview = WaitForDialog("Progress Test (stopped)");
                                 sawStopped = preview != nullptr;
                                 ownerStillDisabled = !IsWindowEnabled(host);
                                 label = ItemText(preview, kPageLabelId);
                                 PostMessageA(preview, WM_KEYDOWN, VK_ESCAPE, 0);
                             }),
              PV_OK);
    EXPECT_TRUE(sawStopped);
    EXPECT_TRUE(ownerStillDisabled);
    EXPECT_EQ(label, "Page 1 of 1");
    EXPECT_FALSE(IsWindow(progress));
    EXPECT_TRUE(IsWindowEnabled(host)) << "the back office has its input back";
}

TEST_F(Attended, PreviewPagesByKeysAndSaysWhenNoPrinterIsInstalled) {
    int32_t doc = Start("Paging Test");
    ASSERT_GE(doc, 1);
    DrawPage(doc, "One");
    pvNewPage(doc, 1, 0, 7);
    DrawPage(doc, "Two");
    pvNewPage(doc, 1, 0, 7);
    DrawPage(doc, "Three");
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed,
                  &count);
    const bool noPrinter = needed == 0;
    std::vector<std::string> labels;
    std::vector<std::string> boxTexts;
    int boxesOwnedByPreview = 0, previewOpenAfterBox = 0;
    auto answerBox = [&](HWND preview) {
        HWND box = WaitForDialog("Print Preview");
        if (!box)
            return;
        boxTexts.push_back(ItemText(box, 0xFFFF));
        boxesOwnedByPreview += GetWindow(box, GW_OWNER) == preview;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        WaitForWindowGone(box, 5000);
        previewOpenAfterBox += IsWindowVisible(preview) != FALSE;
    };
    EXPECT_EQ(EndWithPreview(
                  doc, 4,
                  [&] {
                      HWND preview = WaitForDialog("Paging Test");
                      if (!preview)
                          return;
                      auto press = [&](WPARAM key, const char *expected) {
                          PostMessageA(preview, WM_KEYDOWN, key, 0);
                          WaitUntil([&] { return ItemText(preview, kPageLabelId) == expected; },
                                    5000);
                          labels.push_back(ItemText(preview, kPageLabelId));
                      };
                      labels.push_back(ItemText(preview, kPageLabelId));
                      press(VK_NEXT, "Page 2 of 3");
                      press(VK_END, "Page 3 of 3");
                      press(VK_NEXT, "Page 3 of 3");
                      press(VK_HOME, "Page 1 of 3");
                      press(VK_PRIOR, "Page 1 of 3");
                      if (noPrinter) {
                          // Once by the Print button, once by Ctrl+P: the key state is the
                          // preview thread's, shared with this thread while attached to it.
                          PostMessageA(GetDlgItem(preview, kPrintButtonId), BM_CLICK, 0, 0);
                          answerBox(preview);
                          DWORD previewThread = GetWindowThreadProcessId(preview, nullptr);
                          AttachThreadInput(GetCurrentThreadId(), previewThread, TRUE);
                          BYTE keys[256];
                          GetKeyboardState(keys);
                          keys[VK_CONTROL] = 0x80;
                          SetKeyboardState(keys);
                          PostMessageA(preview, WM_KEYDOWN, 'P', 0);
                          answerBox(preview);
                          keys[VK_CONTROL] = 0;
                          SetKeyboardState(keys);
                          AttachThreadInput(GetCurrentThreadId(), previewThread, FALSE);
                      }
                      PostMessageA(preview, WM_KEYDOWN, VK_ESCAPE, 0);
                  }),
              PV_OK);
    EXPECT_EQ(labels, (std::vector<std::string>{"Page 1 of 3", "Page 2 of 3", "Page 3 of 3",
                                                "Page 3 of 3", "Page 1 of 3", "Page 1 of 3"}));
    if (!noPrinter)
        GTEST_SKIP() << "a printer is installed here: the no-printer message cannot show";
    const std::string message = "No printer is installed. Add a printer in Windows to print this "
                                "report, or save it as a PDF file.";
    EXPECT_EQ(boxTexts, (std::vector<std::string>{message, message}));
    EXPECT_EQ(boxesOwnedByPreview, 2);
    EXPECT_EQ(previewOpenAfterBox, 2);
}

enum class PreviewAct { WheelDown, WheelUp, CtrlWheelUp, CtrlWheelDown, ZoomIn, FitPage, ToEnd };

void Perform(HWND preview, PreviewAct act) {
    HWND view = GetDlgItem(preview, kPageViewId);
    auto wheel = [&](WORD keys, short delta) {
        PostMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(delta)), 0);
    };
    switch (act) {
    case PreviewAct::WheelDown:
        return wheel(0, -WHEEL_DELTA);
    case PreviewAct::WheelUp:
        return wheel(0, WHEEL_DELTA);
    case PreviewAct::CtrlWheelUp:
        return wheel(MK_CONTROL, WHEEL_DELTA);
    case PreviewAct::CtrlWheelDown:
        return wheel(MK_CONTROL, -WHEEL_DELTA);
    case PreviewAct::ZoomIn:
    case PreviewAct::FitPage:
        PostMessageA(GetDlgItem(preview, act == PreviewAct::ZoomIn ? kZoomInId : kFitPageId),
                     BM_CLICK, 0, 0);
        return;
    case PreviewAct::ToEnd:
        PostMessageA(view, WM_VSCROLL, SB_BOTTOM, 0);
        return;
    }
}

TEST_F(Attended, PreviewZoomsByStepsAndTheWheelGoesOnToTheNextPage) {
    using A = PreviewAct;
    const struct Step {
        A act;
        int times;
        const char *zoom; // null: what fit page shows
        const char *page;
    } steps[] = {
        {A::WheelDown, 1, nullptr, "Page 2 of 2"}, // the whole page in view: on to the next
        {A::WheelUp, 1, nullptr, "Page 1 of 2"},       {A::CtrlWheelUp, 6, "400 %", "Page 1 of 2"},
        {A::CtrlWheelDown, 3, "100 %", "Page 1 of 2"}, {A::ZoomIn, 1, "150 %", "Page 1 of 2"},
        {A::WheelDown, 1, "150 %", "Page 1 of 2"}, // within the page first
        {A::ToEnd, 1, "150 %", "Page 1 of 2"},         {A::WheelDown, 1, "150 %", "Page 2 of 2"},
        {A::WheelUp, 1, "150 %", "Page 1 of 2"},       {A::FitPage, 1, nullptr, "Page 1 of 2"},
    };
    int32_t doc = Start("Wheel Test");
    ASSERT_GE(doc, 1);
    DrawPage(doc, "One");
    pvNewPage(doc, 1, 0, 7);
    DrawPage(doc, "Two");
    std::string fit;
    std::vector<std::string> seen, expected;
    EXPECT_EQ(EndWithPreview(doc, 4,
                             [&] {
                                 HWND preview = WaitForDialog("Wheel Test");
                                 if (!preview)
                                     return;
                                 fit = ItemText(preview, kZoomLabelId);
                                 for (const Step &step : steps) {
                                     expected.push_back((step.zoom ? step.zoom : fit) + " " +
                                                        step.page);
                                     for (int i = 0; i < step.times; ++i)
                                         Perform(preview, step.act);
                                     auto shown = [&] {
                                         return ItemText(preview, kZoomLabelId) + " " +
                                                ItemText(preview, kPageLabelId);
                                     };
                                     WaitUntil([&] { return shown() == expected.back(); }, 5000);
                                     seen.push_back(shown());
                                 }
                                 PostMessageA(preview, WM_KEYDOWN, VK_ESCAPE, 0);
                             }),
              PV_OK);
    // Fit page shows less than actual size on the test's 1024 x 768 screen.
    EXPECT_LT(std::atoi(fit.c_str()), 100) << fit;
    EXPECT_EQ(seen, expected);
}

TEST_F(Attended, PreviewSavesThePdfThroughTheSaveDialog) {
    std::string path = TempPath("prnview_saved.pdf");
    DeleteFileA(path.c_str());
    int32_t doc = Start("Saving Test");
    ASSERT_GE(doc, 1);
    DrawPage(doc, "Kept as a file");
    bool dialogSeen = false, previewAliveAfterZoom = false;
    EXPECT_EQ(EndWithPreview(doc, 4,
                             [&] {
                                 HWND preview = WaitForDialog("Saving Test");
                                 if (!preview)
                                     return;
                                 for (int zoom : {kFitWidthId, kZoomInId})
                                     PostMessageA(GetDlgItem(preview, zoom), BM_CLICK, 0, 0);
                                 PostMessageA(GetDlgItem(preview, kSavePdfId), BM_CLICK, 0, 0);
                                 HWND save = WaitForDialog("Save as PDF");
                                 previewAliveAfterZoom = IsWindowVisible(preview);
                                 if (save) {
                                     dialogSeen = true;
                                     // The file name field: a combo box on Windows, an edit
                                     // field in Wine's dialog.
                                     HWND name = GetDlgItem(save, 0x47C);
                                     if (!name)
                                         name = GetDlgItem(save, 0x480);
                                     SendMessageA(name, WM_SETTEXT, 0,
                                                  reinterpret_cast<LPARAM>(path.c_str()));
                                     PostMessageA(save, WM_COMMAND, IDOK, 0);
                                     WaitForWindowGone(save, 10000);
                                 }
                                 PostMessageA(preview, WM_KEYDOWN, VK_ESCAPE, 0);
                             }),
              PV_OK);
    EXPECT_TRUE(previewAliveAfterZoom);
    ASSERT_TRUE(dialogSeen);
    std::string pdf = ReadFileBytes(path);
    DeleteFileA(path.c_str());
    EXPECT_EQ(pdf.rfind("%PDF-1.4", 0), 0u);
    const std::string drawn = InflatedStreams(pdf);
    EXPECT_NE(drawn.find("(Kept as a file) Tj"), std::string::npos);
    EXPECT_NE(drawn.find("(Store  Page 1 of 1) Tj"), std::string::npos);
}

} // namespace
