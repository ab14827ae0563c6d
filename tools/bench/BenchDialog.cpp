// BenchDialog.exe [CLOSE_AFTER_MS]: the smallest Win32 dialog program, the reference for the
// installer's time to window and its idle CPU use. It shows dialog 100 modally and closes it
// by itself after CLOSE_AFTER_MS milliseconds (default 120000), so a benchmark run always ends.
#include <windows.h>

#include <cstdlib>

namespace {

const int kDialogId = 100;
const UINT_PTR kCloseTimer = 1;
UINT g_closeAfterMs = 120000;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message) {
        case WM_INITDIALOG:
            SetTimer(dialog, kCloseTimer, g_closeAfterMs, nullptr);
            return TRUE;
        case WM_TIMER:
            if (wParam == kCloseTimer)
                EndDialog(dialog, 0);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)
                EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (commandLine != nullptr && commandLine[0] != '\0')
        g_closeAfterMs = static_cast<UINT>(strtoul(commandLine, nullptr, 10));
    DialogBoxParamA(instance, MAKEINTRESOURCEA(kDialogId), nullptr, &DialogProc, 0);
    return 0;
}
