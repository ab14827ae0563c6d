// Start-up's DPI awareness, in processes of their own: dpi_probe.exe calls the installer's
// SetDpiAwareness and reports the awareness it ends with. Which Shcore.dll the system offers is
// set per program name through Wine's per-application DLL overrides
// (HKCU\Software\Wine\AppDefaults\<name>.exe\DllOverrides).
//
// Wine starts every process per-monitor aware already, so the awareness a probe reports shows
// only that it stayed aware; what these cases tell apart is which Shcore.dll gets loaded.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempFolder.h"

namespace {

const DWORD kSystemAware = 11, kPerMonitorAware = 12;

// Gives the program of that name a load order for Shcore.dll while it lives.
class ShcoreOverride {
public:
    ShcoreOverride(const std::string& programName, const char* loadOrder)
        : m_key("Software\\Wine\\AppDefaults\\" + programName)
    {
        if (!loadOrder) return;
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, (m_key + "\\DllOverrides").c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr);
        RegSetValueExA(key, "shcore", 0, REG_SZ, reinterpret_cast<const BYTE*>(loadOrder),
                       static_cast<DWORD>(strlen(loadOrder) + 1));
        RegCloseKey(key);
        m_set = true;
    }
    ~ShcoreOverride()
    {
        if (!m_set) return;
        RegDeleteKeyA(HKEY_CURRENT_USER, (m_key + "\\DllOverrides").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, m_key.c_str());
    }
    ShcoreOverride(const ShcoreOverride&) = delete;
    ShcoreOverride& operator=(const ShcoreOverride&) = delete;

private:
    std::string m_key;
    bool m_set = false;
};

// Runs program with one argument; its exit code, or 0 when it did not run to its end.
DWORD RunProgram(const std::string& program, const char* argument, const std::string& folder)
{
    std::string line = "\"" + program + "\" " + argument;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi))
        return 0;
    DWORD code = 0;
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

struct Case {
    const char* what;
    const char* loadOrder;  // Shcore's load order for the probe; null: Wine's default
    bool planted;           // a Shcore.dll lies beside the program
    const char* mode;
    bool plantRuns;
};

// An elevated installer started from a downloads folder must not run a Shcore.dll planted
// there. "native,builtin" makes Wine search for Shcore.dll as Windows does when the system has
// none of its own, so the planted file is what a search by name finds (the last row shows it).
const Case kCases[] = {
    {"system Shcore", nullptr, false, "start-up", false},
    {"no Shcore at all: SetProcessDPIAware", "", false, "start-up", false},
    {"planted Shcore beside the installer", "native,builtin", true, "start-up", false},
    {"what a search by name would load", "native,builtin", true, "by-name", true},
};

TEST(StartUp, DpiAwarenessComesFromTheSystemShcoreOrElseSetProcessDPIAware)
{
    const std::string probe = testfs::ProgramFolder() + "\\..\\planted\\dpi_probe.exe";
    const std::string plant = testfs::ProgramFolder() + "\\..\\planted\\Shcore.dll";
    int n = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        testfs::TempFolder folder;
        const std::string name = "dpi-probe-" + std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(n++) + ".exe";
        ASSERT_TRUE(CopyFileA(probe.c_str(), (folder / name).c_str(), FALSE));
        if (c.planted) {
            ASSERT_TRUE(CopyFileA(plant.c_str(), (folder / "Shcore.dll").c_str(), FALSE));
        }
        const std::string marker = folder / "planted-ran.txt";
        SetEnvironmentVariableA("PLANTED_SHCORE_MARKER", marker.c_str());
        ShcoreOverride override(name, c.loadOrder);

        const DWORD code = RunProgram(folder / name, c.mode, folder.Path());
        EXPECT_TRUE(code == kSystemAware || code == kPerMonitorAware) << "exit code " << code;
        EXPECT_EQ(c.plantRuns, testfs::FileExists(marker)) << testfs::ReadWholeFile(marker);
        SetEnvironmentVariableA("PLANTED_SHCORE_MARKER", nullptr);
    }
}

}  // namespace
