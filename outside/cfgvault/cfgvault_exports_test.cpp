// Cfgvault.dll as the reports use it: the store name from POSOvena.INI in the host program's
// folder (the probe is copied into a fresh folder per case), and nothing written out of bounds.
#include "cfgvault.h"
#include "test_program_dir.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

std::string BinFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

struct ProbeResult {
    int32_t StoreResult = -1, WorkResult = -1;
    std::string Bytes; // both records
};

class CfgvaultProbe : public ProgramDirTest {
  protected:
    // Runs the probe as the host program of the new program folder `folder` holding `ini` (none
    // when null).
    ProbeResult Run(const std::string &folder, const char *ini) {
        std::filesystem::create_directory(File(folder));
        for (const char *file : {"cfgvault_probe.exe", "Cfgvault.dll"})
            std::filesystem::copy_file(BinFolder() + file, File(folder + "\\" + file));
        if (ini != nullptr)
            WriteBytes(folder + "\\POSOvena.INI", ini);
        const std::string out = folder + "\\out.bin";
        std::string command = "\"" + File(folder + "\\cfgvault_probe.exe").string() + "\" \"" +
                              File(out).string() + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ProbeResult result;
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return result;
        WaitForSingleObject(process.hProcess, 120000);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        const std::string bytes = ReadBytes(out);
        if (code != 0 || bytes.size() != 8 + 400 + 280)
            return result;
        std::memcpy(&result.StoreResult, bytes.data(), 4);
        std::memcpy(&result.WorkResult, bytes.data() + 4, 4);
        result.Bytes = bytes.substr(8);
        return result;
    }
};

TEST_F(CfgvaultProbe, StoreNameFromTheIniBesideTheHost) {
    const std::string longName(600, 'L');
    struct {
        const char *what;
        std::string ini; // "-" for no file
        std::string name;
    } const cases[] = {
        {"name set", "[Store]\r\nName=Luigi's Trattoria #2\r\n", "Luigi's Trattoria #2"},
        {"no INI", "-", ""},
        {"no Store section", "[CIDServer]\r\nUDPPort=3520\r\n", ""},
        {"empty name", "[Store]\r\nName=\r\n", ""},
        {"name too long for the record", "[Store]\r\nName=" + longName + "\r\n",
         std::string(355, 'L')},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const ProbeResult result =
            Run(std::to_string(&c - cases), c.ini == "-" ? nullptr : c.ini.c_str());
        ASSERT_EQ(result.Bytes.size(), 680u);
        EXPECT_NE(result.StoreResult, 0);
        EXPECT_NE(result.WorkResult, 0);
        EXPECT_EQ(std::string(result.Bytes.c_str() + 44), c.name);
        EXPECT_EQ(result.Bytes[399], '\0');
    }
}

TEST(CfgvaultDll, NeverWritesPastTheRecordsAndRefusesNoBuffer) {
    for (const auto &call :
         {std::make_pair(&GetStoreDat, size_t{400}), std::make_pair(&GetWorkDat, size_t{280})}) {
        std::vector<unsigned char> buffer(call.second + 64, 0xCC);
        EXPECT_NE(call.first(0, buffer.data()), 0);
        for (size_t i = call.second; i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], 0xCC) << "byte " << i << " of a " << call.second << "-byte record";
        EXPECT_EQ(call.first(0, nullptr), 0);
    }
}

} // namespace
