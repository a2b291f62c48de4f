// Names of the system's files, relative to the program directory.
#pragma once

#define INI_FILE "POSOvena.INI"
#define INI_SECTION "CIDServer"
#define CONFIG_FILE "DATA\\QuorlCID.CFG"
#define CALL_LOG_FILE "DATA\\QuorlLog.OV5"
#define EXCL_LOG_FILE "DATA\\QuorlExclLog.CID"
#define EXCL_SHOW_FILE "DATA\\QuorlExclShow.CID"
#define DISPLAY_FILE "DATA\\OvenCID.DAT"
#define RAW_FILE "DATA\\QuorlRaw.txt"
#define LOCK_FILE "CONTROL\\Quorl.LCK"
#define CONTROL_DIR "CONTROL\\"

