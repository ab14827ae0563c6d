// Loading DLLs from the system folder only, and the look-up behind AfxSystemImports.S.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "framework/AfxApp.h"

HMODULE AfxLoadSystemLibrary(LPCSTR lpszName)
{
    HMODULE hModule = ::LoadLibraryExA(lpszName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (hModule || ::GetLastError() != ERROR_INVALID_PARAMETER) return hModule;

    // Windows 7 without its loader update does not know the flag: name the file in full.
    char path[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + strlen(lpszName) >= MAX_PATH) return nullptr;
    path[length] = '\\';
    strcpy(path + length + 1, lpszName);
    return ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Called by the stubs of AfxSystemImports.S on a function's first call: pszNames holds the DLL's
// name and, after its terminating zero, the function's. Stores the function's address in
// *ppSlot and returns it. Two threads may both get here for the same function; both store the
// same address.
extern "C" void* AfxResolveSystemImport(const char* pszNames, void** ppSlot)
{
    const char* pszFunction = pszNames + strlen(pszNames) + 1;
    HMODULE hModule = AfxLoadSystemLibrary(pszNames);
    void* pfn = hModule ? reinterpret_cast<void*>(::GetProcAddress(hModule, pszFunction)) : nullptr;
    if (!pfn) {
        // As a program whose import cannot be resolved: it cannot go on.
        const DWORD error = ::GetLastError();
        fprintf(stderr, "Error: %s from %s in the system folder: error %lu\n", pszFunction,
                pszNames, error);
        fflush(stderr);
        ::ExitProcess(hModule ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND);
    }
    *ppSlot = pfn;
    return pfn;
}
