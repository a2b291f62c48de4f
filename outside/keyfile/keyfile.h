// KEYFILE record manager: keyed record files shared by Ringhold, Ringtune and Ringtally.
// Every argument is passed by reference; an argument a call does not need may be null or 0.
// Each file is an SQLite database; several processes may use one file at once.
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

// kf_Create(path, definition, 0): creates an empty record file; returns a status. Refuses a
//   path that exists (KF_FILE_EXISTS) and leaves that file untouched.
// kf_Open(path, mode): a handle of 1 or more, or minus a status on failure.
// kf_Count(handle): the number of records, or minus a status on failure.
// kf_Delete(handle): the same as operation KF_DELETE; returns a status.
// kf_Close(handle): KF_OK, or KF_NOT_OPEN; kf_CloseAll(): closes every open file, KF_OK.
// kf(op, handle, data, dataLength, key, keyLength, keyNumber): one record operation.
//   Reads copy at most *dataLength bytes of the record into data. A search key (ops 5 and 9)
//   is the key's segments one after another, as they lie in the record; *keyLength may be 0
//   (the key's full length) and is otherwise at least the key's length. The key buffer is
//   only read. Each call is complete in itself: no lock on the file is held between calls.
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
    KF_INSERT = 2,    // data, dataLength: the record (it must reach the end of every key)
    KF_DELETE = 4,    // deletes the record last read through this handle
    KF_GET_EQUAL = 5, // the first-inserted record whose key equals the search key
    KF_GET_NEXT = 6,  // the record after the one last read, in the order of the key last used
    KF_GET_GE = 9,    // the first record whose key is greater than or equal to the search key
    KF_GET_FIRST = 12 // the first record in the order of keyNumber
};
// Records with equal keys follow each other in the order they were inserted. A get-next after
// a delete, or after other processes changed the file, continues with the record that follows
// the last one read (its key, then its insertion order).
//
// On a mode-2 handle a get-next reads the records that follow ahead, a few at first and more as
// a scan goes on, all in one read of the file within that call, and the get-nexts after it
// return them from memory. A scan there is a sequence of consistent pictures of the file, each
// taken during one call: a record deleted before the picture holding its place was taken is
// never returned, and records that other handles or processes insert or delete after that may
// or may not appear, as if the scan had passed them a moment earlier. Get-first, get-equal and
// get-greater-or-equal drop what was read ahead and start afresh; a get-next after KF_END reads
// the file again and finds records added since. Mode-1 handles read one record per call.
//
// kf_Count reads the file a part at a time, each part in a read of its own, so that a process
// inserting meanwhile need not wait for the whole count. On a file that others change during the
// call, the count is a sum of consistent pictures taken during it: records added or deleted
// meanwhile may or may not be counted.

// Open modes. Mode 2 refuses every change with KF_READ_ONLY.
enum : int32_t { KF_MODE_UPDATE = 1, KF_MODE_READ = 2 };

// The definition given to kf_Create: 3 header bytes, then per key segment 30 bytes: a name
// (25 characters, space-padded, kept but not interpreted), the key number (1 byte; keys are
// numbered 1, 2, 3 ... and a key's segments follow each other), the 1-based offset in the
// record (16-bit little-endian), the length (1 byte) and the flags byte below. Header byte 1
// is the definition format and must be KF_DEFINITION_FORMAT; header byte 2 is kept but not
// interpreted; header byte 3 is the number of segments (1 or more), from which the length of
// the definition (3 + 30 per segment) is known. Records may be of any length that reaches the
// end of every segment; each is kept whole and its keys are taken from it at insertion.
enum : uint8_t { KF_DEFINITION_FORMAT = 1 };

// Segment flags. A key's segments agree on KF_SEG_UNIQUE. Other bits are refused.
enum : uint8_t {
    KF_SEG_UNIQUE = 0x02, // the key admits no duplicates (insert fails with KF_DUPLICATE)
    KF_SEG_BINARY = 0x04, // byte-by-byte order; also the order of a segment without 0x08
    KF_SEG_UINT64 = 0x08  // an unsigned 64-bit little-endian integer; the length must be 8
};

// Statuses. 0, 4, 5 and 9 are the ones callers test for. 8 is never returned (callers take it
// as the end of a scan, so a failure must not use it).
enum : int32_t {
    KF_OK = 0,
    KF_BAD_OPERATION = 1,    // op is not one of the operations above
    KF_IO_ERROR = 2,         // the file could not be read or written, or is damaged
    KF_NOT_OPEN = 3,         // the handle is not one of an open file
    KF_NOT_FOUND = 4,        // get-equal found no record with the key
    KF_DUPLICATE = 5,        // insert on a key that admits no duplicates
    KF_BAD_KEY_NUMBER = 6,   // keyNumber is not a key of the file
    KF_NO_CURRENT = 7,       // delete or get-next with no record read before
    KF_END = 9,              // no (more) records
    KF_READ_ONLY = 10,       // a change through a handle opened in mode 2
    KF_BAD_ARGUMENT = 11,    // a missing buffer or length, a record or key shorter than the keys
    KF_FILE_EXISTS = 12,     // kf_Create: the path exists already
    KF_BAD_DEFINITION = 13,  // kf_Create: a definition this library cannot honour
    KF_NOT_RECORD_FILE = 14, // kf_Open: the file is not a record file of this library
    KF_CANNOT_OPEN = 15,     // kf_Open: the file is missing or may not be opened
    KF_RECORD_GONE = 16,     // delete: another process deleted the record last read
    KF_BAD_MODE = 17,        // kf_Open: mode is neither 1 nor 2
    KF_BUSY = 18             // another process kept the file locked longer than the wait (10 s)
};
