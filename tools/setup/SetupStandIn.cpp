// Stand-in for the product's setup program, served by the vendor stand-in as the setup file.
//
// It behaves as the installer requires of the real one: it runs without any window, takes the
// install folder from "/DIR=" (quoted, ending with a backslash), makes that folder, writes
// "Percent" rising from 0 to 100 into section "InstallProgress" of the progress file in the
// installer's staging folder (with "state" = "installing" meanwhile), puts vexaDesk.exe
// (carried as a resource) into the folder, and only then writes "state" = "finish".
//
// Its command line is read the way an Inno Setup program reads it: blanks separate the
// parameters, quotation marks group and are dropped, backslashes are plain characters.
//
// Environment, for tests and demos:
//   SETUP_STANDIN_STEP_MS  pause before each percent (default 40: about four seconds in all)
//   SETUP_STANDIN_TRACE    file to which the command line, current folder and install folder
//                          are appended, one "name: value" line each
// Exit codes: 0 installed; 1 no install folder or not asked to be silent (it would have to
// ask the user); 2 the folder cannot be made; 3 the product cannot be written; 4 "finish"
// cannot be written.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tools/setup/SetupStandInResources.h"
#include "workflow/StagingArea.h"

namespace {

const DWORD kDefaultStepMs = 40;
const int kProductAtPercent = 70;  // the product is written while the bar is on its way

std::vector<std::string> SplitParameters(const char* line)
{
    std::vector<std::string> parameters;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(line);
    while (*p != '\0') {
        while (*p != '\0' && *p <= ' ') ++p;
        if (*p == '\0') break;
        std::string parameter;
        bool quoted = false;
        while (*p != '\0' && (quoted || *p > ' ')) {
            if (*p == '"') {
                quoted = !quoted;
            } else {
                parameter += static_cast<char>(*p);
            }
            ++p;
        }
        parameters.push_back(parameter);
    }
    return parameters;
}

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    size_t n = lstrlenA(prefix);
    return text.size() >= n && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(), n,
                                              prefix, n) == CSTR_EQUAL;
}

bool EqualsNoCase(const std::string& text, const char* word)
{
    return lstrcmpiA(text.c_str(), word) == 0;
}

// Read through the wide form: Wine's GetEnvironmentVariableA cuts a value with double-byte
// characters to as many bytes as it has characters.
std::string Environment(const wchar_t* name)
{
    wchar_t value[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return "";
    char bytes[2 * MAX_PATH] = {};
    if (WideCharToMultiByte(CP_ACP, 0, value, -1, bytes, sizeof(bytes), nullptr, nullptr) == 0)
        return "";
    return bytes;
}

void AppendLine(const std::string& file, const std::string& line)
{
    HANDLE h = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

// Offsets of the path separators, found by characters: the second byte of a double-byte
// character may have a backslash's value ("乗" is 0x81 0x5C).
std::vector<size_t> SeparatorOffsets(const std::string& path)
{
    std::vector<size_t> offsets;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (c == '\\' || c == '/') {
            offsets.push_back(i);
        } else if (IsDBCSLeadByte(c) && i + 1 < path.size()) {
            ++i;
        }
    }
    return offsets;
}

bool EndsWithSeparator(const std::string& path)
{
    std::vector<size_t> offsets = SeparatorOffsets(path);
    return !offsets.empty() && offsets.back() + 1 == path.size();
}

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Makes the folder and every missing folder above it. A step that fails (a drive, a share's
// server name, a folder that exists) is passed over; what counts is the folder at the end.
bool MakeFolders(const std::string& folder)
{
    for (size_t offset : SeparatorOffsets(folder)) {
        if (offset > 0) CreateDirectoryA(folder.substr(0, offset).c_str(), nullptr);
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    return IsFolder(folder);
}

bool WriteProduct(const std::string& target)
{
    HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_PRODUCT_EXE), MAKEINTRESOURCEA(10));
    HGLOBAL loaded = info ? LoadResource(nullptr, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = info ? SizeofResource(nullptr, info) : 0;
    if (bytes == nullptr || size == 0) return false;

    HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    if (!ok) DeleteFileA(target.c_str());
    return ok;
}

// The progress file, written whole each time into a file beside it that then takes its place:
// the installer reads the file while the setup runs, and a file rewritten in place can be read
// while it is empty, which the installer would take for 0 percent.
class ProgressFile {
public:
    explicit ProgressFile(std::string path) : m_path(std::move(path)) {}

    bool Write(int percent, const char* state)
    {
        std::string text = std::string("[") + kProgressSection + "]\r\n" + kPercentKey + "=" +
                           std::to_string(percent) + "\r\n" + kStateKey + "=" + state + "\r\n";
        std::string fresh = m_path + ".new";
        HANDLE file = CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        bool ok =
            WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
            written == text.size();
        ok = CloseHandle(file) && ok;
        // The reader holds the file for a moment now and then; the replacement waits for it.
        for (int attempt = 0; ok && attempt < 100; ++attempt) {
            if (MoveFileExA(fresh.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
            Sleep(10);
        }
        DeleteFileA(fresh.c_str());
        return false;
    }

private:
    std::string m_path;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const char* line = GetCommandLineA();
    std::vector<std::string> parameters = SplitParameters(line);
    bool silent = false;
    std::string installDir;
    for (size_t i = 1; i < parameters.size(); ++i) {  // the first names the program
        const std::string& p = parameters[i];
        if (EqualsNoCase(p, "/SILENT") || EqualsNoCase(p, "/VERYSILENT")) {
            silent = true;
        } else if (StartsWithNoCase(p, "/DIR=")) {
            installDir = p.substr(5);
        }
    }

    std::string trace = Environment(L"SETUP_STANDIN_TRACE");
    if (!trace.empty()) {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        AppendLine(trace, std::string("command line: ") + line);
        AppendLine(trace, std::string("current folder: ") + current);
        AppendLine(trace, "install folder: " + installDir);
    }
    if (!silent || installDir.empty()) return 1;

    DWORD stepMs = kDefaultStepMs;
    std::string step = Environment(L"SETUP_STANDIN_STEP_MS");
    if (!step.empty()) stepMs = static_cast<DWORD>(std::strtoul(step.c_str(), nullptr, 10));

    // The same path the installer computes; the installer has made the folder and emptied the
    // file already, the folder is made here too for a run by hand.
    std::string staging = GetDownloadDir();
    EnsureDirectory(staging);
    ProgressFile progress(ProgressFilePath(staging));
    progress.Write(0, "installing");

    if (!MakeFolders(installDir)) return 2;
    std::string product = installDir;
    if (!EndsWithSeparator(product)) product += '\\';
    product += "vexaDesk.exe";

    for (int percent = 1; percent <= 100; ++percent) {
        Sleep(stepMs);
        if (percent == kProductAtPercent && !WriteProduct(product)) return 3;
        progress.Write(percent, "installing");
    }
    // Only now, with the product whole in its folder.
    return progress.Write(100, kFinishState) ? 0 : 4;
}
