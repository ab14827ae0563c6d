// A DLL named Shcore.dll that a test puts beside a program, as an attacker would plant it in a
// downloads folder. When any process loads it, it appends that process's command line to the
// file PLANTED_SHCORE_MARKER names.
#include <windows.h>

#include <cstring>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t marker[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"PLANTED_SHCORE_MARKER", marker, MAX_PATH)) return TRUE;
    HANDLE file = CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const char* line = GetCommandLineA();
        DWORD written = 0;
        WriteFile(file, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
        WriteFile(file, "\r\n", 2, &written, nullptr);
        CloseHandle(file);
    }
    return TRUE;
}

// Present so that a caller that found the DLL would also call it.
extern "C" __declspec(dllexport) HRESULT WINAPI SetProcessDpiAwareness(int) { return S_OK; }
