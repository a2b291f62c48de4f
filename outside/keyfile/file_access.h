// The few file-system calls the record manager makes outside SQLite, one file per platform.
#pragma once
#include <string>

enum class NewFileResult { Created, Exists, Failed };

// Creates an empty file, atomically refusing a path that exists.
NewFileResult CreateNewFile(const char *path);
void RemoveFile(const char *path);
// SQLite takes UTF-8 names; callers pass names in the system's narrow code page.
std::string PathForSqlite(const char *path);
