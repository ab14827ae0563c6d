// The setup launcher: real starts of the setup stand-in (build/bin/SetupStandIn.exe) that
// install vexaDesk.exe and report through the progress file in the installer's staging folder.
// The command line and the working folder on their own: SetupCommandLineTest.cpp.
#include "workflow/SetupLauncher.h"

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

// Sets an environment variable for the test's time; child processes inherit it.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : m_name(name)
    {
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableA(m_name, nullptr); }

private:
    const char* m_name;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// A real installation into the user's staging folder, as the installer makes it: the setup
// file lies in a folder of its own (here with blanks), the install folder is new.
class SetupLaunchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(EnsureDirectory(GetDownloadDir()));
        m_progressFile = ProgressFilePath(GetDownloadDir());
        ASSERT_TRUE(ResetProgressFile(m_progressFile.c_str()));
        m_setupFolder = m_temp / "stage 下载";
        ASSERT_TRUE(CreateDirectoryA(m_setupFolder.c_str(), nullptr));
        m_setupPath = m_setupFolder + "\\dravo_com_installer.exe";
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\SetupStandIn.exe").c_str(), m_setupPath.c_str(),
                              FALSE));
    }
    void TearDown() override { DeleteFileA(m_progressFile.c_str()); }

    TempFolder m_temp;
    std::string m_progressFile;
    std::string m_setupFolder;
    std::string m_setupPath;
};

TEST_F(SetupLaunchTest, SetupStandInInstallsTheProductAndEndsWithFinish)
{
    const std::string installDir = m_temp / "安装 目录 乗\\德拉沃归档助手\\";
    const std::string product = installDir + "vexaDesk.exe";
    const std::string trace = m_temp / "setup trace.txt";
    ScopedEnvironment fast("SETUP_STANDIN_STEP_MS", "5");
    ScopedEnvironment traced("SETUP_STANDIN_TRACE", trace);

    ASSERT_TRUE(StartSetupProgram(m_setupPath, installDir));

    // Follow the file as the installer does, only more often.
    std::vector<int> percents;
    bool finished = false;
    std::string productAtFinish;
    DWORD start = GetTickCount();
    while (!finished && GetTickCount() - start < 60000) {
        int percent = ReadInstallPercent(m_progressFile);
        if (percents.empty() || percents.back() != percent) percents.push_back(percent);
        finished = IsInstallFinished(ReadInstallState(m_progressFile));
        if (finished) productAtFinish = ReadWholeFile(product);
        Sleep(finished ? 0 : 10);
    }
    ASSERT_TRUE(finished) << "no \"finish\" within a minute";

    // The bar moved forward only, within 0 to 100, and ended at 100.
    ASSERT_GT(percents.size(), 2u);
    for (size_t i = 1; i < percents.size(); ++i) EXPECT_LT(percents[i - 1], percents[i]);
    EXPECT_GE(percents.front(), 0);
    EXPECT_EQ(100, ReadInstallPercent(m_progressFile));

    // The product was whole when "finish" was first read.
    const std::string expected = ReadWholeFile(ProgramFolder() + "\\vexaDesk.exe");
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(productAtFinish == expected)
        << productAtFinish.size() << " of " << expected.size() << " bytes";

    // What the setup program saw: our command line, its own folder as the current one, and
    // the install folder with its trailing backslash.
    std::vector<std::string> lines = Lines(ReadWholeFile(trace));
    ASSERT_EQ(3u, lines.size()) << ReadWholeFile(trace);
    EXPECT_EQ("command line: " + ComposeSetupCommandLine(m_setupPath, installDir), lines[0]);
    EXPECT_EQ(0, lstrcmpiA(("current folder: " + m_setupFolder).c_str(), lines[1].c_str()))
        << lines[1];
    EXPECT_EQ("install folder: " + installDir, lines[2]);
}

TEST_F(SetupLaunchTest, AProgramPlantedAtABlankOfTheSetupPathIsNotStarted)
{
    // "...\stage 下载\dravo_com_installer.exe" read without quotation marks starts with
    // "...\stage", so "...\stage.exe" is where a planted program would wait.
    const std::string planted = m_temp / "stage.exe";
    const std::string plantedTrace = m_temp / "vexaDesk.ran";
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\vexaDesk.exe").c_str(), planted.c_str(), FALSE));
    ScopedEnvironment closes("VEXADESK_CLOSE_AFTER_MS", "100");
    ScopedEnvironment fast("SETUP_STANDIN_STEP_MS", "0");

    // The trap is real: an unquoted line without an application name starts the planted one.
    std::string unquoted =
        m_setupPath + " /SILENT /VERYSILENT /SP- /noicons /DIR=\"" + (m_temp / "x\\") + "\"";
    std::vector<char> writable(unquoted.begin(), unquoted.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_TRUE(FileExists(plantedTrace))
        << "the planted program did not run; the test shows nothing";
    ASSERT_TRUE(DeleteFileA(plantedTrace.c_str()));

    const std::string installDir = m_temp / "目标 folder\\";
    ASSERT_TRUE(StartSetupProgram(m_setupPath, installDir));
    DWORD start = GetTickCount();
    while (!IsInstallFinished(ReadInstallState(m_progressFile)) && GetTickCount() - start < 60000)
        Sleep(10);
    EXPECT_TRUE(FileExists(installDir + "vexaDesk.exe"));
    EXPECT_FALSE(FileExists(plantedTrace));
}

TEST(SetupLaunch, FolderTextsBeyondMaxPathArriveWholeUpToTheCommandLineLimit)
{
    // The product stand-in as the "setup": it writes its command line to vexaDesk.ran beside
    // itself and closes.
    TempFolder temp;
    const std::string setup = temp / "dravo_com_installer.exe";
    const std::string trace = temp / "vexaDesk.ran";
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\vexaDesk.exe").c_str(), setup.c_str(), FALSE));
    ScopedEnvironment closes("VEXADESK_CLOSE_AFTER_MS", "100");

    // A command line holds at most 32767 characters with its terminating NUL; characters, not
    // bytes: each Chinese character of the temporary folder's name is two bytes but one
    // character.
    const size_t kLineLimit = 32767;
    auto characters = [](const std::string& text) {
        return static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                       static_cast<int>(text.size()), nullptr, 0));
    };
    const size_t around = characters(ComposeSetupCommandLine(setup, "C:\\\\"));
    for (size_t length : {around + 261, kLineLimit - 1, kLineLimit, kLineLimit + 1000}) {
        SCOPED_TRACE(length);
        const std::string folder = "C:\\" + std::string(length - around, 'd') + "\\";
        const std::string line = ComposeSetupCommandLine(setup, folder);
        ASSERT_EQ(length, characters(line));
        DeleteFileA(trace.c_str());
        SetLastError(0);
        const bool started = StartSetupProgram(setup, folder);
        if (length < kLineLimit) {
            ASSERT_TRUE(started) << GetLastError();
            DWORD start = GetTickCount();
            while (ReadWholeFile(trace).empty() && GetTickCount() - start < 30000) Sleep(20);
            EXPECT_EQ("started " + line + "\r\n", ReadWholeFile(trace));
        } else {
            EXPECT_FALSE(started);
            EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
        }
    }
    // gone once the last start has closed, so that the temporary folder can go too
    const DWORD start = GetTickCount();
    while (!DeleteFileA(setup.c_str()) && GetTickCount() - start < 30000) Sleep(20);
}

TEST(SetupLaunch, AMissingSetupFileIsReportedAsNotStarted)
{
    TempFolder temp;
    EXPECT_FALSE(StartSetupProgram(temp / "dravo_com_installer.exe", temp / "安装\\"));
    EXPECT_FALSE(StartSetupProgram(temp.Path(), temp / "安装\\"));  // a folder
}

}  // namespace
