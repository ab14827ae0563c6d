// Start-up's DPI awareness, in processes of their own: dpi_probe.exe calls the installer's
// SetDpiAwareness and reports the awareness it ends with. Which Shcore.dll the system offers is
// set per program name through Wine's per-application DLL overrides (DllLoadOrder).
//
// Wine starts every process per-monitor aware already, so the awareness a probe reports shows
// only that it stayed aware; what these cases tell apart is which Shcore.dll gets loaded.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/installer/InstallerTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using installer_test::RunProgram;

const DWORD kSystemAware = 11, kPerMonitorAware = 12;

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
    const std::string plant = testfs::ProgramFolder() + "\\..\\planted\\planted.dll";
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
        SetEnvironmentVariableA("PLANTED_DLL_MARKER", marker.c_str());
        std::unique_ptr<installer_test::DllLoadOrder> loadOrder;
        if (c.loadOrder) loadOrder.reset(new installer_test::DllLoadOrder(name, {"shcore"}, c.loadOrder));

        const DWORD code = RunProgram(folder / name, c.mode, folder.Path());
        EXPECT_TRUE(code == kSystemAware || code == kPerMonitorAware) << "exit code " << code;
        EXPECT_EQ(c.plantRuns, testfs::FileExists(marker)) << testfs::ReadWholeFile(marker);
        SetEnvironmentVariableA("PLANTED_DLL_MARKER", nullptr);
    }
}

// The first-call stubs the installer takes its other system DLLs through: the DLL comes from
// the system folder on the first call, also with one planted beside the program and looked for
// there first; a function that no DLL has ends the program with ERROR_PROC_NOT_FOUND instead
// of a jump to nowhere.
TEST(SystemImports, ComeFromTheSystemFolderOnFirstCallAndAMissingOneEndsTheProgram)
{
    const std::string probe = testfs::ProgramFolder() + "\\..\\planted\\system_import_probe.exe";
    const std::string plant = testfs::ProgramFolder() + "\\..\\planted\\planted.dll";
    testfs::TempFolder folder;
    const std::string name = "system-import-probe-" + std::to_string(GetCurrentProcessId()) + ".exe";
    ASSERT_TRUE(CopyFileA(probe.c_str(), (folder / name).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(plant.c_str(), (folder / "version.dll").c_str(), FALSE));
    const std::string marker = folder / "planted-ran.txt";
    SetEnvironmentVariableA("PLANTED_DLL_MARKER", marker.c_str());
    installer_test::DllLoadOrder loadOrder(name, {"version"}, "native,builtin");

    EXPECT_EQ(0u, RunProgram(folder / name, "present", folder.Path()));
    EXPECT_FALSE(testfs::FileExists(marker)) << testfs::ReadWholeFile(marker);
    EXPECT_EQ(static_cast<DWORD>(ERROR_PROC_NOT_FOUND),
              RunProgram(folder / name, "missing", folder.Path()));
    SetEnvironmentVariableA("PLANTED_DLL_MARKER", nullptr);
}

}  // namespace
