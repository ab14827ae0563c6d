#include "workflow/StagingArea.h"

#include <direct.h>
#include <errno.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

const char kStagingFolderName[] = "/dravo_download";
const char kSetupFileName[] = "/dravo_com_installer.exe";
const char kProgressFileName[] = "/install_progress.ini";

const char kProgressSection[] = "InstallProgress";
const char kPercentKey[] = "Percent";
const char kStateKey[] = "state";
const char kFinishState[] = "finish";

std::string GetDownloadDir()
{
    char roaming[MAX_PATH] = {};
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &items)) && items) {
        if (!SHGetPathFromIDListA(items, roaming)) roaming[0] = '\0';
        CoTaskMemFree(items);
    }
    return DownloadDirFor(roaming);
}

std::string DownloadDirFor(const std::string& roamingFolder)
{
    if (roamingFolder.empty()) return kStagingFolderName;
    // The short form keeps blanks out of the setup path on systems that make 8.3 names; it
    // cannot be had for a folder that does not exist or on a volume that refuses it. Then the
    // long form stays: the setup program writes its progress under the roaming folder whatever
    // happens, and the installer must read it there.
    char shortForm[MAX_PATH] = {};
    DWORD length = GetShortPathNameA(roamingFolder.c_str(), shortForm, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return roamingFolder + kStagingFolderName;
    return std::string(shortForm, length) + kStagingFolderName;
}

std::string SetupFilePath(const std::string& downloadDir) { return downloadDir + kSetupFileName; }

std::string ProgressFilePath(const std::string& downloadDir)
{
    return downloadDir + kProgressFileName;
}

bool IsDirectory(const std::string& path)
{
    // Asked of the file system itself rather than through the C runtime's stat, which takes a
    // trailing byte 0x5C for a separator and refuses the path even when it is the second byte
    // of a Chinese character ("乗" is 0x81 0x5C in code page 936).
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool EnsureDirectory(const std::string& path)
{
    if (IsDirectory(path)) return true;
    if (_mkdir(path.c_str()) == 0) return true;
    // EEXIST: someone made the folder meanwhile, or a plain file holds the name. Only the
    // first is a folder to work in.
    return errno == EEXIST && IsDirectory(path);
}

bool ResetProgressFile(const char* path)
{
    if (path == nullptr || *path == '\0') return false;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        // A read-only leftover could be neither deleted nor emptied.
        if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path);  // may fail while another process holds the file; truncated below
    }
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

int ReadInstallPercent(const std::string& progressFile)
{
    // Converted here rather than by GetPrivateProfileIntA, whose conversion wraps numbers beyond
    // 32 bits around (2147483648 reads as -2147483648) and differs between systems (Wine also
    // takes "0x40" as 64). The first 31 bytes of the value are read: room for any number within
    // int's range with its sign.
    char text[32] = {};
    GetPrivateProfileStringA(kProgressSection, kPercentKey, "", text, sizeof(text),
                             progressFile.c_str());
    return ParseInstallPercent(text);
}

std::string ReadInstallState(const std::string& progressFile)
{
    char buffer[256] = {};
    DWORD length = GetPrivateProfileStringA(kProgressSection, kStateKey, "", buffer, sizeof(buffer),
                                            progressFile.c_str());
    return std::string(buffer, length);
}

bool IsInstallFinished(const std::string& state) { return state == kFinishState; }
