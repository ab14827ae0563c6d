// How the installer becomes DPI aware at start-up.
#pragma once

// Makes the process per-monitor DPI aware through the system's own Shcore.dll, or system DPI
// aware (SetProcessDPIAware) where the system has none. Results are not looked at.
void SetDpiAwareness();
