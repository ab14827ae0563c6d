// Windows, fonts and pixel read-back shared by the tests of the skinned controls.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Afx.h"
#include "framework/GdiPlus.h"
#include "tests/support/GuiTest.h"

namespace control_test {

// GDI+ is started once and never shut down, as the product does.
inline void StartGdiPlus()
{
    static ULONG_PTR token = 0;
    if (!token) {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    }
}

// One WM_COMMAND as the parent received it.
struct Command {
    WPARAM wParam;
    LPARAM lParam;
};

// A top-level window that owns the control under test: it reflects WM_DRAWITEM to owner-drawn
// children (the framework's default) and records every command it receives.
class CParentWnd : public CWnd {
public:
    std::vector<Command> commands;
    std::function<void(const Command&)> onCommand;  // runs when the command arrives

    BOOL Make(int x, int y, int width, int height)
    {
        return CreateEx(0, gui_test::PlainWindowClass(), "parent", WS_POPUP | WS_VISIBLE, x, y,
                        width, height, nullptr, nullptr);
    }
    int CountCommands(WPARAM wParam) const
    {
        int n = 0;
        for (const Command& c : commands) n += c.wParam == wParam;
        return n;
    }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back({wParam, lParam});
        if (onCommand) onCommand(commands.back());
        return CWnd::OnCommand(wParam, lParam);
    }
};

// A font of the face the installer uses ("Microsoft YaHei", replaced by a CJK font under
// Wine) with the given LOGFONT height, without anti-aliasing so that every text pixel has the
// text colour exactly.
inline std::unique_ptr<CFont> TestFont(int nLogicalHeight, LPCSTR face = "Microsoft YaHei")
{
    auto font = std::make_unique<CFont>();
    if (!font->CreateFont(nLogicalHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                          FF_SWISS | DEFAULT_PITCH, face))
        return nullptr;
    return font;
}

inline int CALLBACK AddTrueTypeFace(const LOGFONTA* lf, const TEXTMETRICA*, DWORD type,
                                    LPARAM faces)
{
    if ((type & TRUETYPE_FONTTYPE) && lf->lfFaceName[0] != '@')
        reinterpret_cast<std::vector<std::string>*>(faces)->push_back(lf->lfFaceName);
    return 1;
}

// A font whose measured text height (GetTextExtent's cy) is nHeight pixels: of the
// installer's face when one of its sizes measures so, else of another installed face (the CJK
// face has no size that measures 17; Liberation Sans, which the set-up installs, has). Null
// when no installed face has such a size.
inline std::unique_ptr<CFont> FontMeasuring(int nHeight)
{
    std::vector<std::string> faces = {"Microsoft YaHei", "Liberation Sans", "DejaVu Sans"};
    HDC hScreen = ::GetDC(nullptr);
    LOGFONTA all{};
    all.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExA(hScreen, &all, &AddTrueTypeFace, reinterpret_cast<LPARAM>(&faces), 0);
    std::unique_ptr<CFont> found;
    for (const std::string& face : faces) {
        for (int cell = -(nHeight + 6); cell <= nHeight + 6 && !found; ++cell) {
            if (cell == 0) continue;
            auto font = TestFont(cell, face.c_str());
            if (!font) continue;
            HGDIOBJ old = ::SelectObject(hScreen, font->m_hObject);
            SIZE size{};
            ::GetTextExtentPoint32A(hScreen, "Ab", 2, &size);
            ::SelectObject(hScreen, old);
            if (size.cy == nHeight) found = std::move(font);
        }
        if (found) break;
    }
    ::ReleaseDC(nullptr, hScreen);
    return found;
}

// The pixels of a window as it has drawn itself: its client area, or the whole window with
// its non-client area.
inline std::unique_ptr<gui_test::Canvas> Capture(HWND hWnd, bool client = true)
{
    CRect rect;
    if (client)
        ::GetClientRect(hWnd, &rect);
    else
        ::GetWindowRect(hWnd, &rect);
    auto canvas = std::make_unique<gui_test::Canvas>(rect.Width(), rect.Height(), RGB(1, 2, 3));
    HDC hDC = client ? ::GetDC(hWnd) : ::GetWindowDC(hWnd);
    ::BitBlt(canvas->dc(), 0, 0, rect.Width(), rect.Height(), hDC, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, hDC);
    return canvas;
}

// Repaints a window now, erasing, and lets its messages run.
inline void Repaint(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    gui_test::PumpMessages(20);
}

// Where on a canvas pixels differ from the background colour.
struct Ink {
    int count = 0;
    CRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};  // bounding box, right and bottom exclusive
    std::vector<COLORREF> colors;                   // every distinct ink colour

    bool Only(COLORREF color) const { return colors.size() == 1 && colors[0] == color; }
};

inline Ink FindInk(const gui_test::Canvas& canvas, COLORREF background, const CRect& area)
{
    Ink ink;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            COLORREF c = canvas.At(x, y);
            if (c == background) continue;
            ++ink.count;
            ink.box.left = std::min<LONG>(ink.box.left, x);
            ink.box.top = std::min<LONG>(ink.box.top, y);
            ink.box.right = std::max<LONG>(ink.box.right, x + 1);
            ink.box.bottom = std::max<LONG>(ink.box.bottom, y + 1);
            bool known = false;
            for (COLORREF k : ink.colors) known = known || k == c;
            if (!known) ink.colors.push_back(c);
        }
    }
    return ink;
}

inline Ink FindInk(const gui_test::Canvas& canvas, COLORREF background)
{
    return FindInk(canvas, background, CRect(0, 0, canvas.width(), canvas.height()));
}

// Counts the pixels in which two canvases of the same size differ.
inline int DifferentPixels(const gui_test::Canvas& a, const gui_test::Canvas& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.At(x, y) != b.At(x, y);
    return n;
}

}  // namespace control_test
