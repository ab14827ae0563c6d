#include "workflow/SetupLauncher.h"

#include <windows.h>

#include <vector>

std::string ComposeSetupCommandLine(const std::string& setupPath, const std::string& installDir)
{
    std::string line;
    line += '"';
    line += setupPath;
    line += '"';
    line += " /SILENT /VERYSILENT /SP- /noicons ";
    line += "/DIR=\"";
    line += installDir;
    line += '"';
    return line;
}

std::string SetupWorkingFolder(const std::string& setupPath)
{
    // The last separator, found by characters: a trail byte of a double-byte character may
    // have the value of a backslash.
    size_t folderEnd = std::string::npos;
    for (size_t i = 0; i < setupPath.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(setupPath[i]);
        if (c == '\\' || c == '/') {
            folderEnd = i;
        } else if (IsDBCSLeadByte(c) && i + 1 < setupPath.size()) {
            ++i;
        }
    }
    if (folderEnd == std::string::npos) return "";
    std::string folder = setupPath.substr(0, folderEnd);
    // A file in a root folder starts in the root itself: "C:\" or "\", not the drive's
    // current folder "C:" or nothing.
    if (folder.empty() || (folder.size() == 2 && folder[1] == ':')) folder += setupPath[folderEnd];
    return folder;
}

bool StartSetupProgram(const std::string& setupPath, const std::string& installDir)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};

    // CreateProcessA may write into its command line.
    std::string line = ComposeSetupCommandLine(setupPath, installDir);
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    std::string folder = SetupWorkingFolder(setupPath);

    // The application name is given as well: the system then starts exactly that file and
    // never searches for a program along the command line.
    if (!CreateProcessA(setupPath.c_str(), writable.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE, nullptr, folder.empty() ? nullptr : folder.c_str(),
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
