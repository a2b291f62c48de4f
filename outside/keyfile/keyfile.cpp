// The exported entry points of the record manager and its table of open files.
#include "keyfile.h"
#include "record_store.h"
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <mutex>

namespace {

// The server's two threads may both call in; one lock serialises every call.
struct KeyfileState {
    std::mutex lock;
    std::map<int32_t, std::unique_ptr<RecordStore>> files;
    int32_t lastHandle = 0;
};

KeyfileState &State() {
    static KeyfileState state;
    return state;
}

RecordStore *Find(KeyfileState &state, const int32_t *handle) {
    if (handle == nullptr)
        return nullptr;
    const auto it = state.files.find(*handle);
    return it == state.files.end() ? nullptr : it->second.get();
}

// Handles count up rather than being reused at once, so a stale handle finds nothing.
int32_t NewHandle(KeyfileState &state) {
    do {
        state.lastHandle =
            state.lastHandle == std::numeric_limits<int32_t>::max() ? 1 : state.lastHandle + 1;
    } while (state.files.count(state.lastHandle) != 0);
    return state.lastHandle;
}

} // namespace

extern "C" {

KF_API int32_t KF_CALL kf_Create(const char *path, const uint8_t *definition,
                                 const int32_t * /*zero*/) {
    return RecordStore::Create(path, definition);
}

KF_API int32_t KF_CALL kf_Open(const char *path, const int32_t *mode) {
    if (mode == nullptr || (*mode != KF_MODE_UPDATE && *mode != KF_MODE_READ))
        return -KF_BAD_MODE;
    std::unique_ptr<RecordStore> store;
    const int32_t status = RecordStore::Open(path, *mode == KF_MODE_READ, store);
    if (status != KF_OK)
        return -status;
    KeyfileState &state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    const int32_t handle = NewHandle(state);
    state.files[handle] = std::move(store);
    return handle;
}

KF_API int32_t KF_CALL kf_Count(const int32_t *handle) {
    KeyfileState &state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    RecordStore *store = Find(state, handle);
    if (store == nullptr)
        return -KF_NOT_OPEN;
    int64_t count = 0;
    const int32_t status = store->Count(count);
    if (status != KF_OK)
        return -status;
    return count > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                       : static_cast<int32_t>(count);
}

KF_API int32_t KF_CALL kf_Delete(const int32_t *handle) {
    KeyfileState &state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    RecordStore *store = Find(state, handle);
    return store == nullptr ? KF_NOT_OPEN : store->DeleteLastRead();
}

KF_API int32_t KF_CALL kf_Close(const int32_t *handle) {
    KeyfileState &state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return handle != nullptr && state.files.erase(*handle) != 0 ? KF_OK : KF_NOT_OPEN;
}

KF_API int32_t KF_CALL kf_CloseAll(void) {
    KeyfileState &state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.files.clear();
    return KF_OK;
}

KF_API int32_t KF_CALL kf(const int32_t *op, const int32_t *handle, void *data,
                          const int32_t *dataLength, void *key, const int32_t *keyLength,
                          const int32_t *keyNumber) {
    KeyfileState &state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    RecordStore *store = Find(state, handle);
    if (store == nullptr)
        return KF_NOT_OPEN;
    const int32_t length = dataLength != nullptr ? *dataLength : 0;
    const int32_t number = keyNumber != nullptr ? *keyNumber : 0;
    if (length < 0 || (data == nullptr && length > 0))
        return KF_BAD_ARGUMENT;
    const RecordBuffer out{data, length};
    switch (op != nullptr ? *op : 0) {
    case KF_INSERT:
        return store->Insert(data, length);
    case KF_DELETE:
        return store->DeleteLastRead();
    case KF_GET_EQUAL:
    case KF_GET_GE:
        return store->Find(*op, number, key, keyLength != nullptr ? *keyLength : 0, out);
    case KF_GET_NEXT:
        return store->GetNext(out);
    case KF_GET_FIRST:
        return store->GetFirst(number, out);
    default:
        return KF_BAD_OPERATION;
    }
}

} // extern "C"
