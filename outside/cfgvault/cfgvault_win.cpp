// Cfgvault's exports: the store name from POSOvena.INI in the host program's folder.
#include "cfgvault.h"
#include "cfgvault_records.h"
#include "file_names.h"
#include "ini_settings.h"
#include "prog_dir.h"

#include <cstring>

namespace {

// Empty when the program folder is unknown or the INI file or key is missing: a site without a
// store name still gets its reports.
std::string ReadStoreName() {
    const std::string programDir = ProgramDirOfModule();
    if (programDir.empty())
        return "";
    return ReadProfileText(programDir + INI_FILE, "Store", "Name", "", sizeof(StoreRecord::Name));
}

} // namespace

extern "C" {

int32_t CFGVAULT_CALL GetStoreDat(int32_t, void *record) {
    if (record == nullptr)
        return 0;
    const StoreRecord store = MakeStoreRecord(ReadStoreName());
    std::memcpy(record, &store, sizeof store);
    return 1;
}

int32_t CFGVAULT_CALL GetWorkDat(int32_t, void *record) {
    if (record == nullptr)
        return 0;
    const WorkRecord work = MakeWorkRecord();
    std::memcpy(record, &work, sizeof work);
    return 1;
}
}
