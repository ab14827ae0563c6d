#include "tests/installer/InstallerTestSupport.h"

#include <cstdio>
#include <cstdlib>

#include "framework/GdiPlus.h"
#include "graphics/ImageEx.h"
#include "tests/support/GuiTest.h"

namespace installer_test {

namespace {

int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    auto within = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
    return within(GetRValue(a), GetRValue(b)) && within(GetGValue(a), GetGValue(b)) &&
           within(GetBValue(a), GetBValue(b));
}

std::string Hex(COLORREF c)
{
    char text[48];
    snprintf(text, sizeof text, "RGB(%d, %d, %d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// The pixels a canvas holds now.
Shot ShotOf(const gui_test::Canvas& canvas)
{
    ::GdiFlush();
    Shot shot(canvas.width(), canvas.height());
    const DWORD* p = canvas.bits();
    for (DWORD& pixel : shot.Pixels()) pixel = *p++ & 0xFFFFFF;
    return shot;
}

// Reads width x height pixels of hDC at (x, y).
Shot ReadPixels(HDC hDC, int x, int y, int width, int height)
{
    gui_test::Canvas canvas(width, height, RGB(0, 0, 0));
    ::BitBlt(canvas.dc(), 0, 0, width, height, hDC, x, y, SRCCOPY);
    return ShotOf(canvas);
}

}  // namespace

COLORREF Shot::Darkest(const RECT& r) const
{
    COLORREF darkest = RGB(255, 255, 255);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (Brightness(At(x, y)) < Brightness(darkest)) darkest = At(x, y);
    return darkest;
}

int Shot::Count(const RECT& r, COLORREF colour, int tolerance) const
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (Near(At(x, y), colour, tolerance)) ++n;
    return n;
}

bool Shot::SavePng(const std::string& path) const
{
    // The PNG encoder of GDI+.
    const CLSID kPngEncoder = {
        0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    std::vector<DWORD> rows(m_pixels);
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(
            m_width, m_height, m_width * 4, PixelFormat32bppRGB,
            reinterpret_cast<BYTE*>(rows.data()), &bitmap) != Gdiplus::Ok)
        return false;
    wchar_t wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    const bool ok = Gdiplus::DllExports::GdipSaveImageToFile(bitmap, wide, &kPngEncoder, nullptr) ==
                    Gdiplus::Ok;
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return ok;
}

DWORD RunProgram(const std::string& program, const char* argument, const std::string& folder)
{
    std::string line = "\"" + program + "\" " + argument;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi))
        return 0;
    DWORD code = 0;
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}


Shot CaptureClient(HWND hWnd)
{
    RECT client{};
    ::GetClientRect(hWnd, &client);
    POINT origin{0, 0};
    ::ClientToScreen(hWnd, &origin);
    HDC hScreen = ::GetDC(nullptr);
    Shot shot = ReadPixels(hScreen, origin.x, origin.y, client.right, client.bottom);
    ::ReleaseDC(nullptr, hScreen);
    return shot;
}

Shot ExpectedBackground(HMODULE hModule, UINT nId)
{
    const int width = 702, height = 502;
    gui_test::Canvas canvas(width, height, kFrameGrey);
    CImageEx image;
    image.LoadFromResource(hModule, nId);
    image.Draw(CDC::FromHandle(canvas.dc()), 1, 1, width, height, 0, 0, width, height);
    return ShotOf(canvas);
}

::testing::AssertionResult ShowsBackground(const Shot& shot, const Shot& expected, HWND hDlg)
{
    if (shot.Width() != expected.Width() || shot.Height() != expected.Height())
        return ::testing::AssertionFailure()
               << "the client area is " << shot.Width() << " x " << shot.Height();
    std::vector<RECT> controls;
    for (int id : ShownControls(hDlg)) {
        RECT r = ControlRect(hDlg, id);
        InflateRect(&r, 2, 2);
        controls.push_back(r);
    }
    int compared = 0, differing = 0;
    std::string first;
    for (int y = 0; y < shot.Height(); y += 7) {
        for (int x = 0; x < shot.Width(); x += 11) {
            POINT pt{x, y};
            bool covered = false;
            for (const RECT& r : controls) covered = covered || PtInRect(&r, pt);
            if (covered) continue;
            ++compared;
            if (!Near(shot.At(x, y), expected.At(x, y), 3)) {
                if (++differing <= 5)
                    first += " (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                             Hex(shot.At(x, y)) + " not " + Hex(expected.At(x, y)) + ";";
            }
        }
    }
    if (differing == 0 && compared > 1000)
        return ::testing::AssertionSuccess() << compared << " points agree";
    return ::testing::AssertionFailure()
           << differing << " of " << compared << " points differ:" << first;
}

::testing::AssertionResult SameColour(COLORREF expected, COLORREF actual, int tolerance)
{
    if (Near(expected, actual, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << Hex(expected) << ", got " << Hex(actual);
}

std::string ScreenshotPath(const char* name)
{
    const char* folder = getenv("INSTALLER_SCREENSHOT_DIR");
    if (!folder || !*folder) return "";
    std::string path(folder);
    if (path[0] == '/') path = "Z:" + path;  // a Linux path as Wine sees it
    return path + "\\" + name;
}

void StartGdiplus()
{
    static ULONG_PTR token = [] {
        ULONG_PTR t = 0;
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&t, &input, nullptr);
        return t;
    }();
    (void)token;
}

}  // namespace installer_test
