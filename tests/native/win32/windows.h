// The few Win32 names that the input-handling code (net/Downloader, workflow/SetupLauncher)
// uses, for its native build on Linux: types and constants as Windows defines them, and the
// calls implemented in Win32Shim.cpp over POSIX (files) or as refusals (windows, processes).
// Only this build puts this folder on the include path; the product never sees it.
#pragma once

#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned int UINT;
typedef unsigned long DWORD;
typedef void* HANDLE;
typedef struct HWND__* HWND;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;

#define FALSE 0
#define TRUE 1
#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_WRITE_THROUGH 0x00000008
#define CREATE_NEW_CONSOLE 0x00000010

struct STARTUPINFOA {
    DWORD cb;
    char rest[64];  // the fields the product leaves zero
};

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};

DWORD GetLastError();

// No window exists natively: nothing is delivered, as to a window that is gone.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

BOOL MoveFileExA(const char* from, const char* to, DWORD flags);
BOOL DeleteFileA(const char* path);

// Code page 936: lead bytes are 0x81 to 0xFE.
BOOL IsDBCSLeadByte(BYTE c);

// Reads the whole command line, as the system does, then fails: no program starts natively.
BOOL CreateProcessA(const char* application, char* commandLine, void* processAttributes,
                    void* threadAttributes, BOOL inheritHandles, DWORD flags, void* environment,
                    const char* currentFolder, STARTUPINFOA* startup,
                    PROCESS_INFORMATION* process);
BOOL CloseHandle(HANDLE handle);
