// Writing a whole file so that it is either all there or not changed at all.
#pragma once
#include <string>

// Writes the bytes to a new temporary file in the folder of `path`, then renames it over `path`.
// On failure the file at `path` is as it was (or still missing) and the temporary file is gone.
bool ReplaceFileWith(const std::wstring &path, const std::string &bytes);
