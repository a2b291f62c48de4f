// Where the CSV export writes: the file asked with the save dialog, or the one RINGTALLY_CSV
// names, a progress window with Cancel while the log is read, and the file replaced whole.
#pragma once
#include "report_flow.h"

#include <windows.h>

#include <string>

class CsvFile : public CsvDestination {
  public:
    explicit CsvFile(HWND owner) : owner_(owner) {}
    ~CsvFile() override;
    bool Choose(const std::string &today) override;
    void Show(int32_t percent) override;
    bool Stopped() override;
    void ScanDone() override;
    bool Write(const std::string &bytes) override;

  private:
    void OpenProgress();
    void CloseProgress();

    HWND owner_;
    HWND progress_ = nullptr;
    bool opened_ = false;
    bool cancelled_ = false;
    std::wstring path_;
};
