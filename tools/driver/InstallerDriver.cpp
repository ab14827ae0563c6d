// InstallerDriver.exe: plays the user of a running Installer.exe from outside its process, for
// the end-to-end tests and the demo. Each call does one thing and exits 0 when it worked:
//   wait-dialog [ms]        wait until the installer's dialog is visible; prints its rectangle
//   click ID                press the dialog's control ID (BM_CLICK: a real button-down/up)
//   wait-visible ID [ms]    wait until control ID is visible
//   wait-hidden ID [ms]     wait until control ID is hidden
//   is-enabled ID           prints 1 or 0
//   bar                     prints the progress bar's position
//   set-folder TEXT         puts TEXT into the install folder field
//   get-folder              prints the install folder field
//   topmost                 prints 1 when the dialog is a topmost window
//   close-window            sends WM_CLOSE to the dialog
// Texts are in the ANSI code page (936).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kDialogClass[] = "#32770";
const char kDialogTitle[] = "安装";
const int kFolderFieldId = 1016;
const int kProgressBarId = 1015;

HWND FindDialog()
{
    HWND hwnd = FindWindowA(kDialogClass, kDialogTitle);
    return hwnd != nullptr && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

template <typename Condition>
bool WaitFor(DWORD timeoutMs, Condition condition)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
}

HWND Control(int id)
{
    HWND dialog = FindDialog();
    return dialog != nullptr ? GetDlgItem(dialog, id) : nullptr;
}

int Fail(const char* what)
{
    fprintf(stderr, "InstallerDriver: %s\n", what);
    return 1;
}

DWORD TimeoutArg(int argc, char** argv, int index, DWORD fallback)
{
    return argc > index ? static_cast<DWORD>(strtoul(argv[index], nullptr, 10)) : fallback;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Fail("usage: InstallerDriver.exe COMMAND [ARGS]");
    const std::string command = argv[1];
    const int id = argc > 2 ? atoi(argv[2]) : 0;

    if (command == "wait-dialog") {
        if (!WaitFor(TimeoutArg(argc, argv, 2, 60000), [] { return FindDialog() != nullptr; }))
            return Fail("no installer dialog");
        RECT r;
        GetWindowRect(FindDialog(), &r);
        printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (command == "close-window") {
        HWND dialog = FindDialog();
        if (dialog == nullptr)
            return Fail("no installer dialog");
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        return 0;
    }
    if (command == "topmost") {
        HWND dialog = FindDialog();
        if (dialog == nullptr)
            return Fail("no installer dialog");
        printf("%d\n", (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0 ? 1 : 0);
        return 0;
    }
    if (command == "bar") {
        HWND bar = Control(kProgressBarId);
        if (bar == nullptr)
            return Fail("no progress bar");
        printf("%d\n", static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)));
        return 0;
    }
    if (command == "get-folder" || command == "set-folder") {
        HWND field = Control(kFolderFieldId);
        if (field == nullptr)
            return Fail("no install folder field");
        if (command == "set-folder") {
            if (argc < 3)
                return Fail("set-folder needs a text");
            SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
            return 0;
        }
        char text[1024] = {};
        SendMessageA(field, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        printf("%s\n", text);
        return 0;
    }
    if (command == "click" || command == "wait-visible" || command == "wait-hidden" ||
        command == "is-enabled") {
        if (id == 0)
            return Fail("needs a control id");
        if (command == "click") {
            HWND control = Control(id);
            if (control == nullptr)
                return Fail("no such control");
            // Posted: the handler may end the process or run for a while.
            PostMessageA(control, BM_CLICK, 0, 0);
            return 0;
        }
        if (command == "is-enabled") {
            HWND control = Control(id);
            if (control == nullptr)
                return Fail("no such control");
            printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
            return 0;
        }
        const bool wantVisible = command == "wait-visible";
        auto reached = [&] {
            HWND control = Control(id);
            return control != nullptr && (IsWindowVisible(control) != FALSE) == wantVisible;
        };
        if (!WaitFor(TimeoutArg(argc, argv, 3, 120000), reached))
            return Fail(wantVisible ? "control did not show" : "control did not hide");
        return 0;
    }
    return Fail("unknown command");
}
