// What the installer's tests share: the dialog's expected layout, real mouse input, reading
// back the window as it shows on the screen, and comparing it with the background pictures.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "Installer/res/resource.h"

namespace installer_test {

// Gives the program of that file name a load order for the named DLLs while it lives, through
// Wine's per-application DLL overrides (HKCU\Software\Wine\AppDefaults\<name>\DllOverrides).
// "native,builtin" makes Wine look for them as Windows looks for a DLL that is not one of the
// KnownDLLs: in the program's own folder first. An empty load order disables them.
class DllLoadOrder {
public:
    DllLoadOrder(const std::string& programName, const std::vector<std::string>& dlls,
                 const char* loadOrder)
        : m_key("Software\\Wine\\AppDefaults\\" + programName)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, (m_key + "\\DllOverrides").c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        for (const std::string& dll : dlls)
            RegSetValueExA(key, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(loadOrder),
                           static_cast<DWORD>(strlen(loadOrder) + 1));
        RegCloseKey(key);
    }
    ~DllLoadOrder()
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, (m_key + "\\DllOverrides").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, m_key.c_str());
    }
    DllLoadOrder(const DllLoadOrder&) = delete;
    DllLoadOrder& operator=(const DllLoadOrder&) = delete;

private:
    std::string m_key;
};

const COLORREF kPanel = RGB(230, 246, 255);
const COLORREF kAccent = RGB(76, 157, 254);
const COLORREF kDisabledGrey = RGB(204, 204, 204);
const COLORREF kFrameGrey = RGB(150, 150, 150);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kFolderText = RGB(88, 88, 88);
const COLORREF kLinkText = RGB(81, 81, 81);
const COLORREF kBoxText = RGB(121, 121, 121);

// The controls of the dialog and where they stand (client pixels); the check box's width and
// the link's left edge depend on the DPI band (0 here).
struct ControlPlace {
    int nID;
    const char* name;
    RECT rect;  // left, top, right, bottom
};

const ControlPlace kPlaces[] = {
    {IDC_INSTALL, "install button", {270, 280, 430, 325}},
    {IDC_LAUNCH, "launch button", {270, 320, 430, 365}},
    {IDC_CLOSE, "close button", {675, 5, 700, 29}},
    {IDC_BROWSE, "browse button", {520, 446, 552, 478}},
    {IDC_PROGRESS, "progress bar", {43, 445, 593, 455}},
    {IDC_INSTALL_DIR, "install folder text", {220, 452, 490, 477}},
    {IDC_PATH_FIELD, "path field", {165, 402, 515, 422}},
    {IDC_AGREE, "agreement box", {215, 340, 0, 365}},
    {IDC_AGREEMENT_LINK, "agreement link", {0, 336, 0, 366}},
};

// The DPI bands: fonts and the two places that move with the DPI.
struct Band {
    int nMinDpi;
    int nPointTenths;   // install folder text and path field
    int nScaledPoints;  // agreement box and link
    int nBoxWidth;
    int nLinkLeft;
};
inline Band BandFor(int dpi)
{
    if (dpi >= 144) return {144, 75, 9, 222, 425};
    if (dpi >= 120) return {120, 82, 10, 216, 416};
    return {0, 100, 13, 200, 412};
}

// The place a control must have in a band. The agreement box is the band's width, or wider
// when its sentence (drawn 28 pixels from its left edge) needs more: by boxTextWidth, the
// width of that sentence in the box's font; the link moves right by as much as the box grew.
inline RECT ExpectedRect(const ControlPlace& place, const Band& band, int boxTextWidth)
{
    const int grown = 28 + boxTextWidth > band.nBoxWidth ? 28 + boxTextWidth - band.nBoxWidth : 0;
    RECT r = place.rect;
    if (place.nID == IDC_AGREE) r.right = r.left + band.nBoxWidth + grown;
    if (place.nID == IDC_AGREEMENT_LINK) {
        r.left = band.nLinkLeft + grown;
        r.right = r.left + 110;
    }
    return r;
}

// The control's window rectangle in its dialog's client coordinates.
inline RECT ControlRect(HWND hDlg, int nID)
{
    RECT r{};
    HWND hCtl = ::GetDlgItem(hDlg, nID);
    ::GetWindowRect(hCtl, &r);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right - r.left) + " x " + std::to_string(r.bottom - r.top) + ")";
}

// The ids of the dialog's children that are visible and have an area. (The frame's caption
// buttons are visible but empty.)
inline std::set<int> ShownControls(HWND hDlg)
{
    std::set<int> ids;
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        RECT r{};
        ::GetWindowRect(h, &r);
        if (::IsWindowVisible(h) && r.right > r.left && r.bottom > r.top)
            ids.insert(::GetDlgCtrlID(h));
    }
    return ids;
}

// Polls until done() holds or the time is up.
inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 10000)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return done();
        ::Sleep(20);
    }
    return true;
}

// ---- real input ---------------------------------------------------------------------------

inline void SendMouse(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof input);
}

// Moves the pointer into a corner of the screen, away from every control (no hover faces).
inline void MovePointerAway()
{
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    ::Sleep(50);
}

// A left click with the real mouse at the centre of the control, then the pointer goes away.
inline void Click(HWND hCtl)
{
    RECT r{};
    ::GetWindowRect(hCtl, &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::Sleep(50);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ::Sleep(30);
    SendMouse(MOUSEEVENTF_LEFTUP);
    ::Sleep(50);
    MovePointerAway();
}

// ---- the window as the screen shows it ----------------------------------------------------

class Shot {
public:
    Shot() = default;
    Shot(int width, int height) : m_width(width), m_height(height), m_pixels(width * height) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const
    {
        DWORD p = m_pixels[y * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The darkest pixel of the rectangle: the core of a text stroke, where its colour is exact.
    COLORREF Darkest(const RECT& r) const;
    // How many pixels of the rectangle have this colour (within the tolerance).
    int Count(const RECT& r, COLORREF colour, int tolerance = 0) const;
    bool SavePng(const std::string& path) const;

    std::vector<DWORD>& Pixels() { return m_pixels; }

private:
    int m_width = 0, m_height = 0;
    std::vector<DWORD> m_pixels;  // 0x00RRGGBB, top-down rows
};

// The client area of hWnd as it is on the screen now (read from the screen itself).
Shot CaptureClient(HWND hWnd);

// Runs program with one argument in folder and waits up to a minute for it; its exit code, or
// 0 when it did not run to its end.
DWORD RunProgram(const std::string& program, const char* argument, const std::string& folder);

// PNG nId of hModule drawn the way the frame draws its background: at (1, 1) over
// RGB(150, 150, 150), 702 x 502.
Shot ExpectedBackground(HMODULE hModule, UINT nId);

// Compares the shot with the expected background on a grid of points outside every shown
// control; returns a failure naming the first points that differ.
::testing::AssertionResult ShowsBackground(const Shot& shot, const Shot& expected, HWND hDlg);

::testing::AssertionResult SameColour(COLORREF expected, COLORREF actual, int tolerance = 0);

// Where a screenshot of the given name goes ("" when INSTALLER_SCREENSHOT_DIR is not set).
std::string ScreenshotPath(const char* name);

// Starts and stops GDI+ for the test program.
void StartGdiplus();

}  // namespace installer_test
