// One sync per program directory: a named mutex held by the background program and by /once.
#pragma once
#include <windows.h>

#include <string>

class SyncInstance {
  public:
    explicit SyncInstance(const std::string &programDir);
    ~SyncInstance();
    SyncInstance(const SyncInstance &) = delete;
    SyncInstance &operator=(const SyncInstance &) = delete;
    // False when another sync of the same program directory holds it.
    bool Held() const { return held_; }

  private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};
