// The setup launcher: the command line, the folder the setup starts in, and real starts of the
// setup stand-in (build/bin/SetupStandIn.exe) that install vexaDesk.exe and report through the
// progress file in the installer's staging folder.
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

struct LineCase {
    const char* name;
    std::string setupPath;
    std::string installDir;
    std::string line;
};

TEST(SetupCommandLine, IsTheQuotedSetupPathTheSwitchesAndTheQuotedFolder)
{
    const std::string staging =
        "C:\\users\\ROOT~1\\APPLIC~1/dravo_download/dravo_com_installer.exe";
    const LineCase cases[] = {
        {"default folder", staging, "C:\\Program Files\\德拉沃归档助手\\",
         "\"" + staging +
             "\" /SILENT /VERYSILENT /SP- /noicons /DIR=\"C:\\Program Files\\德拉沃归档助手\\\""},
        {"drive root chosen", staging, "D:\\德拉沃归档助手\\",
         "\"" + staging + "\" /SILENT /VERYSILENT /SP- /noicons /DIR=\"D:\\德拉沃归档助手\\\""},
        {"setup path with a blank (no 8.3 names)",
         "C:\\Documents and Settings\\li\\Application Data/dravo_download/dravo_com_installer.exe",
         "C:\\Program Files\\德拉沃归档助手\\",
         "\"C:\\Documents and Settings\\li\\Application "
         "Data/dravo_download/dravo_com_installer.exe\""
         " /SILENT /VERYSILENT /SP- /noicons /DIR=\"C:\\Program Files\\德拉沃归档助手\\\""},
        {"folder with a quotation mark, unchanged", staging, "E:\\a\"b\\德拉沃归档助手\\",
         "\"" + staging +
             "\" /SILENT /VERYSILENT /SP- /noicons /DIR=\"E:\\a\"b\\德拉沃归档助手\\\""},
        {"staging folder at the drive root", "/dravo_download/dravo_com_installer.exe", "C:\\x\\",
         "\"/dravo_download/dravo_com_installer.exe\" /SILENT /VERYSILENT /SP- /noicons "
         "/DIR=\"C:\\x\\\""},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string line = ComposeSetupCommandLine(c.setupPath, c.installDir);
        EXPECT_EQ(c.line, line);
        // The folder's own backslash comes right before the closing quotation mark.
        EXPECT_EQ("\\\"", line.substr(line.size() - 2));
    }
}

TEST(SetupCommandLine, WorkingFolderIsTheFolderHoldingTheSetup)
{
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\users\\ROOT~1\\APPLIC~1/dravo_download/dravo_com_installer.exe",
         "C:\\users\\ROOT~1\\APPLIC~1/dravo_download"},
        {"C:\\a b\\德拉沃\\setup.exe", "C:\\a b\\德拉沃"},
        {"C:\\dir\\乗.exe", "C:\\dir"},  // the character's second byte is a backslash's value
        {"C:\\乗\\setup.exe", "C:\\乗"},
        {"/dravo_download/dravo_com_installer.exe", "/dravo_download"},
        {"C:\\setup.exe", "C:\\"},
        {"/setup.exe", "/"},
        {"setup.exe", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, SetupWorkingFolder(c.first)) << c.first;
}

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

TEST(SetupLaunch, AMissingSetupFileIsReportedAsNotStarted)
{
    TempFolder temp;
    EXPECT_FALSE(StartSetupProgram(temp / "dravo_com_installer.exe", temp / "安装\\"));
    EXPECT_FALSE(StartSetupProgram(temp.Path(), temp / "安装\\"));  // a folder
}

}  // namespace
