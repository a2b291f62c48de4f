// Reading the fixed file version of a module.
#pragma once
#include <string>

#include "shell_text.h"

// The version resource of the file at `path`.
VersionFound ReadFileVersion(const std::string &path, FileVersion &version);
