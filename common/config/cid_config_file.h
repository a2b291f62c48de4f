// Reading and writing the configuration file DATA\QuorlCID.CFG: Ringtune's lenient read with
// defaults and line limits, its write, and the server's strict read.
#pragma once
#include "cid_config.h"
#include <cstddef>
#include <cstdint>
#include <string>

// What the server's read found.
enum class ServerConfigStatus {
    Ok,
    Missing,  // the file does not exist
    Unusable, // cannot be read whole, or PortSel is 0
};

// Ringtune's rule for the bytes read from offset 0: none (an empty file) gives the defaults and
// keeps the other bytes of the record; otherwise the bytes read overwrite the start of the record
// and the rest of it keeps what it held, so a file cut short keeps the in-memory tail.
void LoadCidConfigBytes(const uint8_t *bytes, size_t count, CidConfig &cfg);
// Ringtune always serves lines 1 to LastLine, with LastLine 1 to 32.
void LimitCidConfigLines(CidConfig &cfg);
// The server takes the record only whole and with a link selected.
ServerConfigStatus JudgeServerConfig(size_t bytesRead, const CidConfig &cfg);
// The message box text for a status other than Ok.
const char *ServerConfigMessage(ServerConfigStatus status);

// Ringtune: creates the file empty when missing (shared for reading and writing), loads it into
// `cfg` by the rules above. A file that cannot be opened or read leaves `cfg` to the line limits
// alone. false when the program directory is empty or the file could not be read.
bool ReadCidConfig(const std::string &programDir, CidConfig &cfg);
// Ringtune: the 32 bytes at offset 0, creating the file when missing and never truncating it.
bool WriteCidConfig(const std::string &programDir, const CidConfig &cfg);
// Ringhold: never creates the file and applies no defaults or limits; `cfg` is zeroed first.
ServerConfigStatus ReadServerConfig(const std::string &programDir, CidConfig &cfg);
