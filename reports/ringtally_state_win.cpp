// Ringtally's state and its start-up: the host program's folders and the store data.
#include "ringtally_state_win.h"

#include "cfgvault.h"
#include "pantry.h"
#include "prog_dir.h"
#include "record_text.h"

#include <vector>

RingtallyState g_ringtally;

namespace {

const size_t kStoreNameAt = 44;

} // namespace

int32_t InitRptPaths() {
    RingtallyState &s = g_ringtally;
    // The whole path, however deep the host program lies: a cut path names another folder.
    const std::string program = ProgramFileOfModule();
    if (program.empty())
        return 0;
    const int32_t size = static_cast<int32_t>(program.size()) + 1;
    std::vector<char> drive(size), folder(size), name(size);
    if (SplitPath(program.c_str(), drive.data(), folder.data(), name.data(), size) == 0)
        return 0;
    s.programDir = std::string(drive.data()) + folder.data();
    s.dataPath = s.programDir + "DATA\\";
    s.controlPath = s.programDir + "CONTROL\\";
    if (GetStoreDat(0, s.store) == 0 || GetWorkDat(0, s.work) == 0)
        return 0;
    return 1;
}

std::string StoreName() {
    const uint8_t *name = g_ringtally.store + kStoreNameAt;
    return GetTextNul(reinterpret_cast<const char *>(name),
                      sizeof g_ringtally.store - kStoreNameAt);
}
