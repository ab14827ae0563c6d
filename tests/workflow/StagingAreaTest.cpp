// The staging folder and the progress file: paths, folder rules, the reset, and the reading of
// "Percent" and "state" from real files in the Wine prefix.
#include "workflow/StagingArea.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace {

using testfs::FileExists;
using testfs::ReadWholeFile;
using testfs::TempFolder;
using testfs::WriteWholeFile;

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string LongForm(const std::string& path)
{
    char buffer[MAX_PATH] = {};
    DWORD n = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string RoamingFolder()
{
    char path[MAX_PATH] = {};
    EXPECT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, path));
    return path;
}

// The folder part of a staging path, without "/dravo_download".
std::string ParentOf(const std::string& downloadDir)
{
    return downloadDir.substr(0, downloadDir.size() - std::string("/dravo_download").size());
}

TEST(StagingPaths, DownloadDirIsTheShortRoamingFolderPlusDravoDownload)
{
    std::string dir = GetDownloadDir();
    EXPECT_TRUE(EndsWith(dir, "/dravo_download")) << dir;
    EXPECT_EQ(std::string::npos, dir.find(' ')) << dir;
    EXPECT_EQ(DownloadDirFor(RoamingFolder()), dir);
    EXPECT_EQ(0, lstrcmpiA(RoamingFolder().c_str(), LongForm(ParentOf(dir)).c_str())) << dir;
}

TEST(StagingPaths, RoamingFolderWithBlanksAndChineseGivesAPathWithoutBlanks)
{
    TempFolder temp;
    std::string roaming = temp / "Application Data 漫游 乗";
    ASSERT_TRUE(CreateDirectoryA(roaming.c_str(), nullptr));

    std::string dir = DownloadDirFor(roaming);
    EXPECT_TRUE(EndsWith(dir, "/dravo_download")) << dir;
    EXPECT_EQ(std::string::npos, dir.find(' ')) << dir;
    // Short names differ between systems (Wine makes hash-like ones); it is the same folder.
    EXPECT_EQ(0, lstrcmpiA(roaming.c_str(), LongForm(ParentOf(dir)).c_str())) << dir;
    EXPECT_TRUE(EnsureDirectory(dir));
    EXPECT_TRUE(IsDirectory(roaming + "\\dravo_download"));
}

TEST(StagingPaths, FallbacksWhenNoShortFormOrNoFolder)
{
    TempFolder temp;
    // No short form for a folder that does not exist: the long form stays, so the installer
    // still looks where the setup program writes.
    std::string missing = temp / "not made yet";
    EXPECT_EQ(missing + "/dravo_download", DownloadDirFor(missing));
    // No roaming folder at all: the root of the current drive.
    EXPECT_EQ("/dravo_download", DownloadDirFor(""));
}

TEST(StagingPaths, FileNamesAreAppendedWithForwardSlashes)
{
    EXPECT_EQ("C:\\users\\ROOT~1/dravo_download/dravo_com_installer.exe",
              SetupFilePath("C:\\users\\ROOT~1/dravo_download"));
    EXPECT_EQ("C:\\users\\ROOT~1/dravo_download/install_progress.ini",
              ProgressFilePath("C:\\users\\ROOT~1/dravo_download"));
    EXPECT_EQ("/dravo_download/install_progress.ini", ProgressFilePath("/dravo_download"));
}

TEST(StagingFolder, IsDirectoryAndEnsureDirectory)
{
    TempFolder temp;
    const std::string existing = temp / "已有 folder";
    const std::string plainFile = temp / "dravo_download";
    const std::string missingParent = temp / "no parent\\dravo_download";
    const std::string fresh = temp / "新 folder 乗";
    ASSERT_TRUE(CreateDirectoryA(existing.c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(plainFile, "not a folder"));

    EXPECT_TRUE(IsDirectory(temp.Path()));
    EXPECT_TRUE(IsDirectory(existing));
    EXPECT_TRUE(IsDirectory(existing + "\\"));
    EXPECT_FALSE(IsDirectory(plainFile));
    EXPECT_FALSE(IsDirectory(fresh));
    EXPECT_FALSE(IsDirectory(""));

    EXPECT_TRUE(EnsureDirectory(existing));
    EXPECT_TRUE(IsDirectory(existing));

    // A plain file holds the name: no folder to work in, and the file is left as it was.
    EXPECT_FALSE(EnsureDirectory(plainFile));
    EXPECT_EQ("not a folder", ReadWholeFile(plainFile));

    // One level only: nothing is made when the parent is missing.
    EXPECT_FALSE(EnsureDirectory(missingParent));
    EXPECT_FALSE(IsDirectory(temp / "no parent"));

    // The last character's second byte has a backslash's value (0x81 0x5C).
    EXPECT_TRUE(EnsureDirectory(fresh));
    EXPECT_TRUE(IsDirectory(fresh));
    EXPECT_TRUE(EnsureDirectory(fresh));  // a second time: already there
}

TEST(ProgressFile, ResetEmptiesALeftoverSoAnOldFinishCannotEndANewInstallation)
{
    TempFolder temp;
    const std::string file = temp / "install_progress.ini";
    ASSERT_TRUE(WriteWholeFile(file, "[InstallProgress]\r\nPercent=100\r\nstate=finish\r\n"));
    ASSERT_EQ("finish", ReadInstallState(file));

    EXPECT_TRUE(ResetProgressFile(file.c_str()));
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ("", ReadWholeFile(file));
    EXPECT_EQ(0, ReadInstallPercent(file));
    EXPECT_EQ("", ReadInstallState(file));
}

TEST(ProgressFile, ResetCreatesAMissingFile)
{
    TempFolder temp;
    const std::string file = temp / "install_progress.ini";
    EXPECT_TRUE(ResetProgressFile(file.c_str()));
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ("", ReadWholeFile(file));
}

TEST(ProgressFile, ResetEmptiesAReadOnlyOrOpenLeftover)
{
    TempFolder temp;
    const std::string readOnly = temp / "read only.ini";
    ASSERT_TRUE(WriteWholeFile(readOnly, "[InstallProgress]\r\nstate=finish\r\n"));
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(ResetProgressFile(readOnly.c_str()));
    EXPECT_EQ("", ReadWholeFile(readOnly));

    // Another process (the setup of an earlier run) still has the file open for writing and
    // lets others delete and write it: the file is emptied.
    const std::string open = temp / "open.ini";
    ASSERT_TRUE(WriteWholeFile(open, "[InstallProgress]\r\nstate=finish\r\n"));
    HANDLE holder = CreateFileA(open.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_TRUE(ResetProgressFile(open.c_str()));
    CloseHandle(holder);
    EXPECT_EQ("", ReadWholeFile(open));
}

TEST(ProgressFile, ResetReportsWhatItCannotDo)
{
    TempFolder temp;
    // A holder that shares nothing: the leftover can be neither deleted nor emptied.
    const std::string locked = temp / "locked.ini";
    ASSERT_TRUE(WriteWholeFile(locked, "[InstallProgress]\r\nstate=finish\r\n"));
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_FALSE(ResetProgressFile(locked.c_str()));
    CloseHandle(holder);

    const std::string noFolder = temp / "missing\\install_progress.ini";
    EXPECT_FALSE(ResetProgressFile(noFolder.c_str()));
    EXPECT_FALSE(FileExists(noFolder));

    EXPECT_FALSE(ResetProgressFile(temp.Path().c_str()));  // a folder of that name
    EXPECT_TRUE(IsDirectory(temp.Path()));
    EXPECT_FALSE(ResetProgressFile(""));
    EXPECT_FALSE(ResetProgressFile(nullptr));
}

struct ReadCase {
    const char* name;
    std::string content;
    int percent;
    std::string state;
    bool finished;
};

TEST(ProgressFile, ReadingFollowsTheProfileRules)
{
    const ReadCase cases[] = {
        {"written by the setup", "[InstallProgress]\r\nPercent=37\r\nstate=finish\r\n", 37,
         "finish", true},
        {"names in another case", "[installprogress]\r\nPERCENT=5\r\nSTATE=finish\r\n", 5, "finish",
         true},
        {"value with capital first letter", "[InstallProgress]\r\nstate=Finish\r\n", 0, "Finish",
         false},
        {"value in capitals", "[InstallProgress]\r\nstate=FINISH\r\n", 0, "FINISH", false},
        {"text after finish", "[InstallProgress]\r\nstate=finished\r\n", 0, "finished", false},
        {"quoted value", "[InstallProgress]\r\nstate=\"finish\"\r\n", 0, "finish", true},
        {"blanks around names and values",
         "[InstallProgress]\r\n  Percent = 42 \r\n state =  finish  \r\n", 42, "finish", true},
        {"still running", "[InstallProgress]\r\nPercent=99\r\nstate=installing\r\n", 99,
         "installing", false},
        {"Chinese state", "[InstallProgress]\r\nstate=完成\r\n", 0, "完成", false},
        {"empty file", "", 0, "", false},
        {"Percent missing", "[InstallProgress]\r\nstate=\r\n", 0, "", false},
        {"other section only", "[Other]\r\nPercent=40\r\nstate=finish\r\n", 0, "", false},
        {"same key in another section first",
         "[Other]\r\nPercent=40\r\n[InstallProgress]\r\nPercent=7\r\n", 7, "", false},
        {"negative percent", "[InstallProgress]\r\nPercent=-5\r\n", -5, "", false},
        {"trailing text", "[InstallProgress]\r\nPercent=12abc\r\n", 12, "", false},
        {"no digits", "[InstallProgress]\r\nPercent=abc\r\n", 0, "", false},
        {"Unix line ends", "[InstallProgress]\nPercent=64\nstate=finish\n", 64, "finish", true},
    };
    TempFolder temp;
    const std::string file = temp / "install_progress.ini";
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(file, c.content));
        EXPECT_EQ(c.percent, ReadInstallPercent(file));
        std::string state = ReadInstallState(file);
        EXPECT_EQ(c.state, state);
        EXPECT_EQ(c.finished, IsInstallFinished(state));
    }
}

TEST(ProgressFile, MissingFileReadsZeroAndEmpty)
{
    TempFolder temp;
    const std::string file = temp / "install_progress.ini";
    EXPECT_EQ(0, ReadInstallPercent(file));
    EXPECT_EQ("", ReadInstallState(file));
}

TEST(ProgressFile, LongStateIsCutTo255Bytes)
{
    TempFolder temp;
    const std::string file = temp / "install_progress.ini";
    ASSERT_TRUE(
        WriteWholeFile(file, "[InstallProgress]\r\nstate=" + std::string(300, 'x') + "\r\n"));
    EXPECT_EQ(std::string(255, 'x'), ReadInstallState(file));
}

TEST(ProgressFile, OnlyFinishExactlyMeansFinished)
{
    EXPECT_TRUE(IsInstallFinished("finish"));
    for (const char* other : {"", "Finish", "FINISH", "finish ", " finish", "finished", "finis"}) {
        EXPECT_FALSE(IsInstallFinished(other)) << '"' << other << '"';
    }
}

}  // namespace
