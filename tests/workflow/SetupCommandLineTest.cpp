// The setup program's command line and the folder it starts in: plain string rules, also
// built natively on Linux and run under AddressSanitizer and UndefinedBehaviorSanitizer (where
// no process can start, but the line is still composed and handed over).
#include "workflow/SetupLauncher.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace {

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

TEST(SetupCommandLine, FolderTextsOfAnyLengthArePassedWhole)
{
    // From one past MAX_PATH (260) to beyond the 32767 characters a process's command line may
    // have: the line is composed in full, with the folder unchanged, whatever its length.
    const std::string setup = "C:\\users\\ROOT~1\\APPLIC~1/dravo_download/dravo_com_installer.exe";
    for (size_t length : {261u, 1024u, 32767u, 100u * 1024u}) {
        const std::string part = "德拉沃归档助手\\";
        std::string folder = "C:\\";
        while (folder.size() + part.size() < length) folder += part;
        folder.resize(length - 1, 'x');  // pads only: no character is cut
        folder += '\\';
        const std::string line = ComposeSetupCommandLine(setup, folder);
        EXPECT_EQ("\"" + setup + "\" /SILENT /VERYSILENT /SP- /noicons /DIR=\"" + folder + "\"", line)
            << length;
        EXPECT_EQ(setup.size() + length + 44, line.size());
        EXPECT_EQ(folder, SetupWorkingFolder(folder + "dravo_com_installer.exe") + "\\");
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

TEST(SetupCommandLine, AMissingSetupIsNotStartedWhateverTheFolderLength)
{
    testfs::TempFolder temp;
    for (size_t length : {3u, 261u, 100u * 1024u}) {
        const std::string folder = "C:" + std::string(length - 3, 'd') + "\\";
        EXPECT_FALSE(StartSetupProgram(temp / "dravo_com_installer.exe", folder)) << length;
    }
}

}  // namespace
