// KEYFILE record manager: keyed record files shared by Ringhold, Ringtune and Ringtally.
// Every argument is passed by reference; an argument a call does not need may be null or 0.
#pragma once
#include <cstdint>

#ifdef _WIN32
#define KF_CALL __stdcall
#else
#define KF_CALL
#endif

#ifdef KEYFILE_BUILD
#ifdef _WIN32
#define KF_API __declspec(dllexport)
#else
#define KF_API __attribute__((visibility("default")))
#endif
#else
#define KF_API
#endif

extern "C" {
KF_API int32_t KF_CALL kf_Create(const char *path, const uint8_t *definition, const int32_t *zero);
KF_API int32_t KF_CALL kf_Open(const char *path, const int32_t *mode);
KF_API int32_t KF_CALL kf_Count(const int32_t *handle);
KF_API int32_t KF_CALL kf_Delete(const int32_t *handle);
KF_API int32_t KF_CALL kf_Close(const int32_t *handle);
KF_API int32_t KF_CALL kf_CloseAll(void);
KF_API int32_t KF_CALL kf(const int32_t *op, const int32_t *handle, void *data,
                          const int32_t *dataLength, void *key, const int32_t *keyLength,
                          const int32_t *keyNumber);
}

// Operations of kf().
enum : int32_t {
    KF_INSERT = 2,
    KF_DELETE = 4,
    KF_GET_EQUAL = 5,
    KF_GET_NEXT = 6,
    KF_GET_GE = 9,
    KF_GET_FIRST = 12,
};

// Open modes.
enum : int32_t { KF_MODE_UPDATE = 1, KF_MODE_READ = 2 };

// Statuses (0 success; the ones callers test for are pinned).
enum : int32_t {
    KF_OK = 0,
    KF_NOT_FOUND = 4,   // get-equal found no record with the key
    KF_DUPLICATE = 5,   // insert on a key that admits no duplicates
    KF_END = 9,         // no (more) records
};
