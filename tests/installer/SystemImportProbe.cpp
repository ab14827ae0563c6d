// A program whose only calls outside kernel32 and the C runtime go through system_import stubs
// (SystemImportProbe.S), for the start-up tests.
//   system_import_probe present   calls version.dll's GetFileVersionInfoSizeA twice
//   system_import_probe missing   calls a function that no DLL has
// Exit code of "present": 0 when version.dll was not in the process before the first call and
// is afterwards, loaded from the system folder; 1, 2 or 3 when one of those fails. "missing"
// never returns from the call: the stub ends the program.
#include <windows.h>

#include <cstring>

extern "C" __declspec(dllimport) int WINAPI ProbeFunctionNoDllHas();

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "missing") == 0) {
        ProbeFunctionNoDllHas();
        return 0;
    }
    if (GetModuleHandleA("version.dll")) return 1;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    DWORD handle = 0;
    GetFileVersionInfoSizeA(self, &handle);  // the first call loads the DLL
    GetFileVersionInfoSizeA(self, &handle);  // the second goes straight to the function
    HMODULE hVersion = GetModuleHandleA("version.dll");
    if (!hVersion) return 2;
    char loaded[MAX_PATH] = {}, system[MAX_PATH] = {};
    GetModuleFileNameA(hVersion, loaded, MAX_PATH);
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length == 0 || _strnicmp(loaded, system, length) != 0 || loaded[length] != '\\') return 3;
    return 0;
}
