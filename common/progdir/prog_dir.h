// The program directory: the folder of the running process's executable, every file name of the
// system being relative to it.
#pragma once
#include <string>

// Everything up to and including the last backslash or slash; "" when there is none.
std::string FolderOfPath(const std::string &path);

// The full path of the process's executable, whatever its length; "" when Windows cannot tell it.
std::string ProgramFileOfModule();
// The folder of the process's executable with its drive and a trailing backslash, whatever the
// length of the path; "" when Windows cannot tell it.
std::string ProgramDirOfModule();
