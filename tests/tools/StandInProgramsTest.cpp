// The stand-ins for the programs outside the installer, run for real: the setup program
// (SetupStandIn.exe) with the command lines it may be given, and the installed product
// (vexaDesk.exe) with its window and its trace.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/TempFolder.h"
#include "workflow/StagingArea.h"

namespace {

using testfs::FileExists;
using testfs::ProgramFolder;
using testfs::ReadWholeFile;
using testfs::TempFolder;
using testfs::WriteWholeFile;

struct Finished {
    bool ended = false;
    DWORD exitCode = 0;
};

// Runs the program with this command line and waits for its end.
Finished RunToEnd(const std::string& program, const std::string& line, DWORD timeoutMs = 30000)
{
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    Finished result;
    if (!CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        ADD_FAILURE() << "could not start " << program;
        return result;
    }
    result.ended = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!result.ended) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

class SetupStandInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("SETUP_STANDIN_STEP_MS", "0");
        ASSERT_TRUE(EnsureDirectory(GetDownloadDir()));
        m_progressFile = ProgressFilePath(GetDownloadDir());
        ASSERT_TRUE(ResetProgressFile(m_progressFile.c_str()));
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("SETUP_STANDIN_STEP_MS", nullptr);
        DeleteFileA(m_progressFile.c_str());
    }

    const std::string m_setup = ProgramFolder() + "\\SetupStandIn.exe";
    std::string m_progressFile;
    TempFolder m_temp;
};

struct CommandCase {
    const char* name;
    std::string parameters;     // after the program
    std::string productFolder;  // where vexaDesk.exe must lie afterwards; "" for nowhere
    DWORD exitCode;
};

TEST_F(SetupStandInTest, ReadsItsCommandLineAsASetupProgramDoes)
{
    const std::string base = m_temp.Path();
    char shortForm[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(base.c_str(), shortForm, MAX_PATH), 0u);
    const std::string blankless = shortForm;
    ASSERT_EQ(std::string::npos, blankless.find(' '));
    const CommandCase cases[] = {
        {"as the installer passes it",
         "/SILENT /VERYSILENT /SP- /noicons /DIR=\"" + base + "\\一 a\\\"", base + "\\一 a\\", 0},
        {"switches in other cases, no trailing backslash",
         "/verysilent /dir=\"" + base + "\\二 b\"", base + "\\二 b\\", 0},
        {"unquoted folder without blanks", "/SILENT /DIR=" + blankless + "\\三\\", base + "\\三\\",
         0},
        {"quoted only around a part", "/SILENT /DIR=" + blankless + "\\\"四 d\"\\",
         base + "\\四 d\\", 0},
        {"folder ending in a character with a backslash byte",
         "/SILENT /DIR=\"" + base + "\\五 乗\"", base + "\\五 乗\\", 0},
        {"no folder", "/SILENT /VERYSILENT /SP- /noicons", "", 1},
        {"empty folder", "/SILENT /DIR=\"\"", "", 1},
        {"not silent: it would have to ask", "/SP- /DIR=\"" + base + "\\六\\\"", "", 1},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ResetProgressFile(m_progressFile.c_str()));
        Finished run = RunToEnd(m_setup, "\"" + m_setup + "\" " + c.parameters);
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(c.exitCode, run.exitCode);
        if (c.exitCode == 0) {
            EXPECT_TRUE(FileExists(c.productFolder + "vexaDesk.exe"));
            EXPECT_EQ(100, ReadInstallPercent(m_progressFile));
            EXPECT_EQ("finish", ReadInstallState(m_progressFile));
        } else {
            // It did nothing at all: the progress file is as the installer left it.
            EXPECT_EQ("", ReadWholeFile(m_progressFile));
        }
    }
    EXPECT_FALSE(FileExists(base + "\\六\\vexaDesk.exe"));
}

TEST_F(SetupStandInTest, AFolderThatCannotBeMadeNeverReportsFinish)
{
    const std::string blocker = m_temp / "blocked";
    ASSERT_TRUE(WriteWholeFile(blocker, "a plain file where a folder should be"));
    Finished run = RunToEnd(m_setup, "\"" + m_setup + "\" /SILENT /VERYSILENT /DIR=\"" + blocker +
                                         "\\德拉沃归档助手\\\"");
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_EQ(0, ReadInstallPercent(m_progressFile));
    EXPECT_FALSE(IsInstallFinished(ReadInstallState(m_progressFile)));
}

TEST_F(SetupStandInTest, AnExistingProductIsReplaced)
{
    const std::string folder = m_temp / "已装\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(folder + "vexaDesk.exe", "an older version"));
    Finished run = RunToEnd(m_setup, "\"" + m_setup + "\" /VERYSILENT /DIR=\"" + folder + "\"");
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(ReadWholeFile(folder + "vexaDesk.exe") ==
                ReadWholeFile(ProgramFolder() + "\\vexaDesk.exe"));
}

// The top-level window of that process with the product stand-in's class, or null.
HWND ProductWindowOf(DWORD processId)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "vexaDeskStandIn", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return window;
    }
    return nullptr;
}

TEST(ProductStandIn, ShowsTheProductWindowLeavesATraceAndClosesWhenTold)
{
    TempFolder temp;
    const std::string folder = temp / "德拉沃归档助手";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string product = folder + "\\vexaDesk.exe";
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\vexaDesk.exe").c_str(), product.c_str(), FALSE));
    SetEnvironmentVariableA("VEXADESK_CLOSE_AFTER_MS", "1500");

    std::string line = "\"" + product + "\"";
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(product.c_str(), writable.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process));
    SetEnvironmentVariableA("VEXADESK_CLOSE_AFTER_MS", nullptr);

    // The window exists a moment before it is shown: wait for both.
    HWND window = nullptr;
    for (int i = 0; i < 500 && (window == nullptr || !IsWindowVisible(window)); ++i) {
        window = ProductWindowOf(process.dwProcessId);
        if (window == nullptr || !IsWindowVisible(window)) Sleep(10);
    }
    ASSERT_NE(nullptr, window);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ("德拉沃归档助手", title);
    EXPECT_TRUE(IsWindowVisible(window));

    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(0u, exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    EXPECT_EQ("started " + line + "\r\n", ReadWholeFile(folder + "\\vexaDesk.ran"));
}

}  // namespace
