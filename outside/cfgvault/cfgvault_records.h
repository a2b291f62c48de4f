// Building Cfgvault's records from the settings read: the portable half of the library.
#pragma once
#include <string>

#include "store_record.h"
#include "work_record.h"

// The whole record: its size, zeros, and the name cut to what fits before its NUL.
StoreRecord MakeStoreRecord(const std::string &name);
WorkRecord MakeWorkRecord();
