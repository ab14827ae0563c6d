#include "Installer/DpiAwareness.h"

#include <windows.h>

void SetDpiAwareness()
{
    // Only the system's own copy: the installer runs elevated, typically from the user's
    // downloads folder, where a planted Shcore.dll must never be loaded. Systems without
    // Shcore.dll (before Windows 8.1) get the system-wide awareness instead.
    HMODULE hShcore = ::LoadLibraryExA("Shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!hShcore) {
        ::SetProcessDPIAware();
        return;
    }
    using SetAwareness = HRESULT(WINAPI*)(int);
    auto setAwareness = reinterpret_cast<SetAwareness>(
        reinterpret_cast<void*>(::GetProcAddress(hShcore, "SetProcessDpiAwareness")));
    if (setAwareness) setAwareness(2);  // PROCESS_PER_MONITOR_DPI_AWARE
    ::FreeLibrary(hShcore);
}
