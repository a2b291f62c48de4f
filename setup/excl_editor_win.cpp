// The exclusion list editor: the list files opened for the dialog's life, their numbers in the
// list boxes, and insertion and deletion through the record manager.
#include "excl_editor_win.h"

#include <string>

#include "excl_add_dialog_win.h"
#include "excl_list.h"
#include "file_names.h"
#include "keyfile.h"
#include "pantry.h"
#include "pantry_font.h"
#include "ringtune_message_win.h"
#include "ringtune_resources.h"
#include "ringtune_state_win.h"

namespace {

struct ExclListPlace {
    const char *file;
    int listBox;
    const char *createWarning;
    const char *openWarning;
};

const ExclListPlace &PlaceOf(ExclListKind list) {
    static const ExclListPlace log{EXCL_LOG_FILE, IDC_LOG_LIST,
                                   "ERROR: Creating Log Exclude File, Exclusion Disabled",
                                   "ERROR: Opening Log Exclude File, Logging Disabled"};
    static const ExclListPlace show{EXCL_SHOW_FILE, IDC_SHOW_LIST,
                                    "ERROR: Creating Dsp Exclude File, Exclusion Disabled",
                                    "ERROR: Opening Dsp Exclude File, Logging Disabled"};
    return list == ExclListKind::Log ? log : show;
}

int32_t &HandleOf(ExclListKind list) {
    return list == ExclListKind::Log ? g_ringtune.call.exclLog : g_ringtune.call.exclShow;
}

std::vector<std::string> &NumbersOf(ExclListKind list) {
    return list == ExclListKind::Log ? g_ringtune.call.exclLogNumbers
                                     : g_ringtune.call.exclShowNumbers;
}

std::string NumberField(const ExclRecord &record) {
    return std::string(record.Number, sizeof record.Number);
}

// A line showing the number, which keeps the stored number through the list box's sorting.
void AddListLine(ExclListKind list, HWND dialog, const std::string &number) {
    std::vector<std::string> &numbers = NumbersOf(list);
    const int box = PlaceOf(list).listBox;
    LRESULT line = SendDlgItemMessageA(dialog, box, LB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(FormatExclPhone(number).c_str()));
    if (line < 0)
        return;
    SendDlgItemMessageA(dialog, box, LB_SETITEMDATA, (WPARAM)line, (LPARAM)numbers.size());
    numbers.push_back(number);
}

void ClearList(ExclListKind list, HWND dialog) {
    SendDlgItemMessageA(dialog, PlaceOf(list).listBox, LB_RESETCONTENT, 0, 0);
    NumbersOf(list).clear();
}

// Nothing but spaces and zero bytes: the user typed neither digits nor a note.
bool IsBlankRecord(const ExclRecord &record) {
    const char *bytes = reinterpret_cast<const char *>(&record);
    for (size_t i = 0; i < sizeof record; i++)
        if (bytes[i] != ' ' && bytes[i] != '\0')
            return false;
    return true;
}

} // namespace

void OpenExclLists() {
    for (ExclListKind list : {ExclListKind::Log, ExclListKind::Show}) {
        const ExclListPlace &place = PlaceOf(list);
        const std::string path = g_ringtune.programDir + place.file;
        HandleOf(list) = 0;
        if (!Exist(path.c_str()) && !CreateExclList(g_ringtune.programDir, place.file)) {
            TuneMessage(nullptr, place.createWarning, "Warning!", MB_ICONEXCLAMATION);
            continue;
        }
        const int32_t handle = OpenExclList(g_ringtune.programDir, place.file);
        if (handle < 1)
            TuneMessage(nullptr, place.openWarning, "Warning!", MB_ICONEXCLAMATION);
        else
            HandleOf(list) = handle;
    }
}

bool ExclListOfBox(int controlId, ExclListKind &list) {
    for (ExclListKind kind : {ExclListKind::Log, ExclListKind::Show}) {
        if (PlaceOf(kind).listBox == controlId) {
            list = kind;
            return true;
        }
    }
    return false;
}

bool IsExclListInUse(ExclListKind list) {
    return HandleOf(list) != 0;
}

bool ReadExclEntries(ExclListKind list, std::vector<ExclRecord> &records) {
    int32_t handle = HandleOf(list);
    if (handle == 0)
        return false;
    ExclRecord record;
    const int32_t length = sizeof record, noKey = 0, keyNumber = 1;
    for (int32_t op = KF_GET_FIRST;; op = KF_GET_NEXT) {
        const int32_t status = kf(&op, &handle, &record, &length, nullptr, &noKey, &keyNumber);
        if (status == KF_END)
            return true;
        if (status != KF_OK)
            return false;
        records.push_back(record);
    }
}

// A list that cannot be read to its end shows the entries read before the failure.
void FillExclList(ExclListKind list, HWND dialog) {
    std::vector<ExclRecord> records;
    ReadExclEntries(list, records);
    if (records.empty())
        return;
    ClearList(list, dialog);
    for (const ExclRecord &record : records)
        AddListLine(list, dialog, NumberField(record));
}

int32_t StoreExclEntry(ExclListKind list, HWND dialog, const ExclRecord &record) {
    const int32_t status = InsertExclRecord(HandleOf(list), record);
    if (status == KF_OK)
        AddListLine(list, dialog, NumberField(record));
    return status;
}

void AddExclEntry(ExclListKind list, HWND dialog) {
    const int32_t handle = HandleOf(list);
    if (handle == 0)
        return;
    HFONT font = MakeFontEx("MS Sans Serif", 10, 400, 0, 0, 0);
    ExclRecord record{};
    if (AskExclEntry(dialog, font, record) == 1 && !IsBlankRecord(record)) {
        if (StoreExclEntry(list, dialog, record) == KF_DUPLICATE)
            TuneMessage(dialog, "Duplicate Phone Number!", "Already Exists", MB_ICONEXCLAMATION);
    }
    if (font)
        DeleteObject(font);
}

// The line's stored number is the key, so entries of more than 15 digits, whose shown text
// holds only 15, and entries without digits, which show as an empty line, are deleted too.
void DeleteExclEntry(ExclListKind list, HWND dialog) {
    int32_t handle = HandleOf(list);
    if (handle == 0)
        return;
    const int box = PlaceOf(list).listBox;
    const LRESULT line = SendDlgItemMessageA(dialog, box, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR)
        return;
    const size_t index = (size_t)SendDlgItemMessageA(dialog, box, LB_GETITEMDATA, (WPARAM)line, 0);
    const std::vector<std::string> &numbers = NumbersOf(list);
    if (index >= numbers.size())
        return;
    std::string key = numbers[index];
    ExclRecord record;
    const int32_t op = KF_GET_EQUAL, length = sizeof record, keyLength = (int32_t)key.size(),
                  keyNumber = 1;
    if (kf(&op, &handle, &record, &length, &key[0], &keyLength, &keyNumber) != KF_OK)
        return;
    if (kf_Delete(&handle) == KF_OK) {
        ClearList(list, dialog);
        FillExclList(list, dialog);
    }
}
