// The Win32 calls of win32/windows.h for the native build.
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

thread_local DWORD g_lastError = 0;

BOOL Fail(DWORD error)
{
    g_lastError = error;
    return FALSE;
}

}  // namespace

DWORD GetLastError()
{
    return g_lastError;
}

LRESULT SendMessageA(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

BOOL PostMessageA(HWND, UINT, WPARAM, LPARAM)
{
    return Fail(1400);  // ERROR_INVALID_WINDOW_HANDLE
}

BOOL MoveFileExA(const char* from, const char* to, DWORD)
{
    return std::rename(from, to) == 0 ? TRUE : Fail(static_cast<DWORD>(errno));
}

BOOL DeleteFileA(const char* path)
{
    return unlink(path) == 0 ? TRUE : Fail(static_cast<DWORD>(errno));
}

BOOL IsDBCSLeadByte(BYTE c)
{
    return c >= 0x81 && c <= 0xFE;
}

BOOL CreateProcessA(const char* application, char* commandLine, void*, void*, BOOL, DWORD, void*,
                    const char* currentFolder, STARTUPINFOA*, PROCESS_INFORMATION* process)
{
    // Every text is read to its end, so that a missing terminator shows under the sanitizers.
    volatile size_t total = (application ? strlen(application) : 0) +
                            (commandLine ? strlen(commandLine) : 0) +
                            (currentFolder ? strlen(currentFolder) : 0);
    (void)total;
    if (process != nullptr)
        memset(process, 0, sizeof(*process));
    return Fail(2);  // ERROR_FILE_NOT_FOUND
}

BOOL CloseHandle(HANDLE)
{
    return TRUE;
}
