// Stand-in for the installed product, vexaDesk.exe.
//
// It shows one window titled with the product name (window class "vexaDeskStandIn") and, once
// the window exists, appends a line "started <command line>" to vexaDesk.ran beside itself, so
// that a test or a person can see that the launch worked.
//
// Environment, for tests: VEXADESK_CLOSE_AFTER_MS closes the window after that many
// milliseconds; otherwise it stays until closed.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

const char kWindowClass[] = "vexaDeskStandIn";
const char kProductName[] = "德拉沃归档助手";
const UINT_PTR kCloseTimer = 1;

void LeaveTrace()
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    std::string trace(path, n);
    size_t folderEnd = trace.find_last_of("\\/");
    // The executable's own name is ASCII, so the last backslash byte is the separator before
    // it and never the second byte of a Chinese character.
    trace = (folderEnd == std::string::npos ? std::string() : trace.substr(0, folderEnd + 1)) +
            "vexaDesk.ran";
    HANDLE file = CreateFileA(trace.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string line = std::string("started ") + GetCommandLineA() + "\r\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            SetBkMode(dc, TRANSPARENT);
            DrawTextA(dc, kProductName, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_TIMER:
            if (wParam == kCloseTimer) {
                KillTimer(window, kCloseTimer);
                DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassA(&windowClass)) return 1;

    HWND window = CreateWindowExA(0, kWindowClass, kProductName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 480, 320, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    LeaveTrace();

    char closeAfter[32] = {};
    DWORD n = GetEnvironmentVariableA("VEXADESK_CLOSE_AFTER_MS", closeAfter, sizeof(closeAfter));
    if (n > 0 && n < sizeof(closeAfter)) {
        SetTimer(window, kCloseTimer, static_cast<UINT>(std::strtoul(closeAfter, nullptr, 10)),
                 nullptr);
    }

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
