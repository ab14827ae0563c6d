// A DLL that a test puts beside a program under the name of a system DLL (Shcore.dll,
// crypt32.dll, ...), as an attacker would plant it in a downloads folder. When any process
// loads it, it appends a line with its own file name and that process's command line to the
// file PLANTED_DLL_MARKER names.
#include <windows.h>

#include <cstring>

namespace {

void Append(HANDLE file, const char* text)
{
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t marker[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"PLANTED_DLL_MARKER", marker, MAX_PATH)) return TRUE;
    HANDLE file = CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(hInstance, self, MAX_PATH);
        Append(file, self);
        Append(file, " in ");
        Append(file, GetCommandLineA());
        Append(file, "\r\n");
        CloseHandle(file);
    }
    return TRUE;
}

// Present so that a caller that found the DLL as Shcore.dll would also call it.
extern "C" __declspec(dllexport) HRESULT WINAPI SetProcessDpiAwareness(int) { return S_OK; }
