// Cfgvault: the POS product's store and work data, read by the reports for the store name that
// heads every page. Both records are filled by the library into the caller's buffer.
#pragma once
#include <cstdint>

#ifdef _WIN32
#define CFGVAULT_CALL __stdcall
#else
#define CFGVAULT_CALL
#endif

#ifdef CFGVAULT_BUILD
#ifdef _WIN32
#define CFGVAULT_API __declspec(dllexport)
#else
#define CFGVAULT_API __attribute__((visibility("default")))
#endif
#else
#define CFGVAULT_API
#endif

extern "C" {
// Fills the 400-byte StoreRecord (store_record.h) at `record`; `zero` is reserved and passed as 0.
// Non-zero on success, which is whenever `record` is not null: a site with no store name set
// gets an empty name. 0 for a null buffer, which is left alone.
CFGVAULT_API int32_t CFGVAULT_CALL GetStoreDat(int32_t zero, void *record);
// Fills the 280-byte WorkRecord (work_record.h) at `record`; same rules as GetStoreDat.
CFGVAULT_API int32_t CFGVAULT_CALL GetWorkDat(int32_t zero, void *record);
}
