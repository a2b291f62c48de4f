// Reading the fixed file version of a module, and the full path of this program.
#pragma once
#include <string>

#include "shell_text.h"

// The version resource of the file at `path`.
VersionFound ReadFileVersion(const std::string &path, FileVersion &version);

// The full path of this program's executable, however long.
std::string ProgramFilePath();
