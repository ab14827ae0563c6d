// A program that only makes itself DPI aware and reports how aware it became, for the
// start-up tests. It imports nothing beyond kernel32, user32 and the C runtime, so that no
// Shcore.dll is in the process before it asks for one.
//   dpi_probe start-up   SetDpiAwareness, as the installer's start-up calls it
//   dpi_probe by-name    LoadLibraryA("Shcore.dll"), the search the installer must not make
//   dpi_probe by-name X  LoadLibraryA("X") instead, then exits with 0
// Exit code: 10 + the thread's DPI awareness (0 unaware, 1 system, 2 per monitor); 9 when the
// system cannot tell.
#include <windows.h>

#include <cstring>

#include "Installer/DpiAwareness.h"

int main(int argc, char** argv)
{
    if (argc > 2 && strcmp(argv[1], "by-name") == 0) {
        LoadLibraryA(argv[2]);
        return 0;
    }
    if (argc > 1 && strcmp(argv[1], "by-name") == 0)
        LoadLibraryA("Shcore.dll");
    else
        SetDpiAwareness();

    HMODULE user32 = GetModuleHandleA("user32.dll");
    using GetContext = HANDLE(WINAPI*)();
    using GetAwareness = int(WINAPI*)(HANDLE);
    auto getContext = reinterpret_cast<GetContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    auto getAwareness = reinterpret_cast<GetAwareness>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    if (!getContext || !getAwareness) return 9;
    return 10 + getAwareness(getContext());
}
