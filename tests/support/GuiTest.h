// Helpers for tests that make real windows (under Wine on Xvfb).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

namespace gui_test {

// A plain top-level window class whose procedure is DefWindowProcA.
inline const char* PlainWindowClass()
{
    static const char* name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "GuiTestPlainWindow";
        ::RegisterClassA(&wc);
        return "GuiTestPlainWindow";
    }();
    return name;
}

// Dispatches the thread's messages for about ms milliseconds.
inline void PumpMessages(DWORD ms = 50)
{
    DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < ms);
}

// Pumps messages until done() or the time runs out; returns done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000)
{
    DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < timeoutMs) PumpMessages(10);
    return done();
}

// A 32-bit top-down DIB with a memory DC, for reading drawn pixels back exactly.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS,
                                       reinterpret_cast<void**>(&m_pBits), nullptr, 0);
        m_hDC = ::CreateCompatibleDC(nullptr);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        for (int i = 0; i < width * height; ++i)
            m_pBits[i] = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    }
    ~Canvas()
    {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteDC(m_hDC);
        ::DeleteObject(m_hBitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_hDC; }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        DWORD p = m_pBits[y * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // The pixels as the DIB holds them (0x00RRGGBB, top-down rows); GdiFlush before reading.
    const DWORD* bits() const { return m_pBits; }

private:
    int m_width, m_height;
    DWORD* m_pBits = nullptr;
    HBITMAP m_hBitmap;
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

inline ::testing::AssertionResult SameColor(COLORREF expected, COLORREF actual, int tolerance = 0)
{
    auto within = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
    if (within(GetRValue(expected), GetRValue(actual)) && within(GetGValue(expected), GetGValue(actual)) &&
        within(GetBValue(expected), GetBValue(actual)))
        return ::testing::AssertionSuccess();
    char text[96];
    snprintf(text, sizeof text, "expected RGB(%d,%d,%d), got RGB(%d,%d,%d)", GetRValue(expected),
             GetGValue(expected), GetBValue(expected), GetRValue(actual), GetGValue(actual),
             GetBValue(actual));
    return ::testing::AssertionFailure() << text;
}

}  // namespace gui_test
