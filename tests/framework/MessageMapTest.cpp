// Message maps: dispatch to the most derived handler, the base chain, the window's previous
// procedure; commands; subclassing and the window's end.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Afx.h"

namespace {

const LRESULT kDefaultResult = 0x5EED;

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen> g_defaultSeen;  // what reached the class's own procedure

// The window class's procedure: the "default processing" of the windows under test.
LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_APP || message == WM_COMMAND) {
        g_defaultSeen.push_back({message, wParam, lParam});
        return kDefaultResult;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

const char* RecordingClass()
{
    static const char* name = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &RecordingProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "FrameworkTestRecording";
        ::RegisterClassA(&wc);
        return "FrameworkTestRecording";
    }();
    return name;
}

class CBaseWnd : public CWnd {
public:
    std::vector<std::string> calls;

protected:
    afx_msg LRESULT OnFirst(WPARAM, LPARAM)
    {
        calls.push_back("base first");
        return 1;
    }
    afx_msg LRESULT OnSecond(WPARAM, LPARAM)
    {
        calls.push_back("base second");
        return 2;
    }
    afx_msg void OnSave() { calls.push_back("base save"); }
    afx_msg void OnOpen() { calls.push_back("base open"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_MESSAGE(WM_APP + 1, &CBaseWnd::OnFirst)
    ON_MESSAGE(WM_APP + 2, &CBaseWnd::OnSecond)
    ON_COMMAND(100, &CBaseWnd::OnSave)
    ON_COMMAND(101, &CBaseWnd::OnOpen)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
public:
    CBrush brush{RGB(1, 2, 3)};
    UINT ctlColor = 0xFFFF;
    HDC ctlColorDC = nullptr;
    HWND ctlColorWnd = nullptr;
    CSize size;
    int ncDestroyed = 0;

    void PostNcDestroy() override { ++ncDestroyed; }

protected:
    afx_msg LRESULT OnFirst(WPARAM, LPARAM)
    {
        calls.push_back("derived first");
        return 11;
    }
    afx_msg void OnSave() { calls.push_back("derived save"); }
    afx_msg void OnClicked() { calls.push_back("derived clicked"); }
    afx_msg LRESULT OnPassOn(WPARAM, LPARAM)
    {
        calls.push_back("derived pass on");
        return Default() + 1;
    }
    afx_msg LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        ctlColor = nCtlColor;
        ctlColorDC = pDC ? pDC->m_hDC : nullptr;
        ctlColorWnd = pWnd ? pWnd->m_hWnd : nullptr;
        return brush;
    }
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        CBaseWnd::OnSize(nType, cx, cy);
        size = CSize(cx, cy);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_MESSAGE(WM_APP + 1, &CDerivedWnd::OnFirst)
    ON_MESSAGE(WM_APP + 4, &CDerivedWnd::OnPassOn)
    ON_MESSAGE(WM_APP + 5, &CDerivedWnd::OnThrow)
    ON_COMMAND(100, &CDerivedWnd::OnSave)
    ON_BN_CLICKED(200, &CDerivedWnd::OnClicked)
    ON_WM_CTLCOLOR()
    ON_WM_SIZE()
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_defaultSeen.clear();
        ASSERT_TRUE(wnd.CreateEx(0, RecordingClass(), "", WS_POPUP, 0, 0, 120, 80, nullptr,
                                 nullptr));
    }
    CDerivedWnd wnd;
};

TEST_F(MessageMapTest, MostDerivedHandlerWins)
{
    EXPECT_EQ(11, wnd.SendMessage(WM_APP + 1));
    EXPECT_EQ(std::vector<std::string>{"derived first"}, wnd.calls);
    EXPECT_TRUE(g_defaultSeen.empty());
}

TEST_F(MessageMapTest, BaseHandlerRunsWhenTheDerivedMapHasNone)
{
    EXPECT_EQ(2, wnd.SendMessage(WM_APP + 2));
    EXPECT_EQ(std::vector<std::string>{"base second"}, wnd.calls);
    EXPECT_TRUE(g_defaultSeen.empty());
}

TEST_F(MessageMapTest, UnmappedMessageReachesThePreviousProcedure)
{
    EXPECT_EQ(kDefaultResult, wnd.SendMessage(WM_APP + 3, 5, 6));
    EXPECT_TRUE(wnd.calls.empty());
    ASSERT_EQ(1u, g_defaultSeen.size());
    EXPECT_EQ(WM_APP + 3, g_defaultSeen[0].message);
    EXPECT_EQ(5u, g_defaultSeen[0].wParam);
    EXPECT_EQ(6, g_defaultSeen[0].lParam);
}

TEST_F(MessageMapTest, DefaultPassesTheOriginalMessageOn)
{
    EXPECT_EQ(kDefaultResult + 1, wnd.SendMessage(WM_APP + 4, 7, 8));
    EXPECT_EQ(std::vector<std::string>{"derived pass on"}, wnd.calls);
    ASSERT_EQ(1u, g_defaultSeen.size());
    EXPECT_EQ(WM_APP + 4, g_defaultSeen[0].message);
    EXPECT_EQ(7u, g_defaultSeen[0].wParam);
    EXPECT_EQ(8, g_defaultSeen[0].lParam);
}

TEST_F(MessageMapTest, CommandsChainLikeMessages)
{
    HWND control = reinterpret_cast<HWND>(wnd.m_hWnd);  // any window handle as the sender
    struct Case {
        WPARAM wParam;
        LPARAM lParam;
        const char* handler;  // null: default processing
    };
    const Case cases[] = {
        {100, 0, "derived save"},                      // menu command, derived entry
        {101, 0, "base open"},                         // menu command, base entry
        {MAKEWPARAM(101, 1), 0, "base open"},          // accelerator
        {102, 0, nullptr},                             // no entry
        {MAKEWPARAM(200, BN_CLICKED), reinterpret_cast<LPARAM>(control), "derived clicked"},
        {MAKEWPARAM(200, EN_CHANGE), reinterpret_cast<LPARAM>(control), nullptr},
        {MAKEWPARAM(201, BN_CLICKED), reinterpret_cast<LPARAM>(control), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "wParam " << c.wParam);
        wnd.calls.clear();
        g_defaultSeen.clear();
        wnd.SendMessage(WM_COMMAND, c.wParam, c.lParam);
        if (c.handler) {
            EXPECT_EQ(std::vector<std::string>{c.handler}, wnd.calls);
            EXPECT_TRUE(g_defaultSeen.empty());
        } else {
            EXPECT_TRUE(wnd.calls.empty());
            EXPECT_EQ(1u, g_defaultSeen.size());
        }
    }
}

TEST_F(MessageMapTest, CtlColorEntryAnswersEveryColourMessage)
{
    CWnd edit;
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_CHILD, CRect(0, 0, 50, 20), &wnd, 9));
    HDC dc = ::GetDC(edit.m_hWnd);
    const struct {
        UINT message, ctlColor;
    } cases[] = {{WM_CTLCOLOREDIT, CTLCOLOR_EDIT},
                 {WM_CTLCOLORSTATIC, CTLCOLOR_STATIC},
                 {WM_CTLCOLORBTN, CTLCOLOR_BTN},
                 {WM_CTLCOLORDLG, CTLCOLOR_DLG}};
    for (const auto& c : cases) {
        LRESULT brush = wnd.SendMessage(c.message, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(edit.m_hWnd));
        EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(wnd.brush)), brush);
        EXPECT_EQ(c.ctlColor, wnd.ctlColor);
        EXPECT_EQ(dc, wnd.ctlColorDC);
        EXPECT_EQ(edit.m_hWnd, wnd.ctlColorWnd);
    }
    ::ReleaseDC(edit.m_hWnd, dc);
}

TEST_F(MessageMapTest, SizeHandlerGetsTheClientSize)
{
    wnd.SetWindowPos(nullptr, 0, 0, 210, 95, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.Size(), wnd.size);
    EXPECT_EQ(CSize(210, 95), wnd.size);  // a popup without frame
}

TEST_F(MessageMapTest, ThrowingHandlerDoesNotEscapeTheWindowProcedure)
{
    EXPECT_EQ(0, wnd.SendMessage(WM_APP + 5));
    EXPECT_EQ(11, wnd.SendMessage(WM_APP + 1));
}

TEST(Subclassing, RoutesMessagesUntilUnsubclassedAndRestoresTheProcedure)
{
    g_defaultSeen.clear();
    HWND hWnd = ::CreateWindowExA(0, RecordingClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, hWnd);
    LONG_PTR classProc = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    {
        CDerivedWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(hWnd));
        EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(hWnd));
        EXPECT_EQ(&wnd, CWnd::FromHandle(hWnd));
        CDerivedWnd second;
        EXPECT_FALSE(second.SubclassWindow(hWnd));
        EXPECT_FALSE(wnd.SubclassWindow(hWnd));

        EXPECT_EQ(11, ::SendMessageA(hWnd, WM_APP + 1, 0, 0));
        EXPECT_EQ(hWnd, wnd.UnsubclassWindow());
        EXPECT_EQ(classProc, ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
        EXPECT_EQ(kDefaultResult, ::SendMessageA(hWnd, WM_APP + 1, 0, 0));

        // Subclassed again, then the object goes away: the window stays, as it was.
        ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    }
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_EQ(classProc, ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    ::DestroyWindow(hWnd);
}

TEST(Subclassing, SubclassDlgItemFindsTheChild)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, RecordingClass(), "", WS_POPUP, 0, 0, 100, 100, nullptr,
                                nullptr));
    HWND child = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(33), ::GetModuleHandleA(nullptr),
                                   nullptr);
    CButton button, missing;
    EXPECT_TRUE(button.SubclassDlgItem(33, &parent));
    EXPECT_EQ(child, button.m_hWnd);
    EXPECT_FALSE(missing.SubclassDlgItem(34, &parent));
    EXPECT_FALSE(missing.SubclassDlgItem(33, nullptr));
    EXPECT_EQ(nullptr, missing.m_hWnd);
}

TEST(WindowEnd, DestroyedWindowIsLetGoAndACreatedOneDiesWithItsObject)
{
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, RecordingClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hWnd = wnd.m_hWnd;
    ::DestroyWindow(hWnd);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(1, wnd.ncDestroyed);

    HWND created;
    {
        CWnd scoped;
        ASSERT_TRUE(scoped.CreateEx(0, RecordingClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr));
        created = scoped.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(created));
}

TEST(TemporaryWrappers, WrapWindowsNobodyAttached)
{
    HWND hWnd = ::CreateWindowExA(0, RecordingClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
    CWnd* temp = CWnd::FromHandle(hWnd);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(hWnd, temp->m_hWnd);
    EXPECT_EQ(temp, CWnd::FromHandle(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    AfxDeleteTempMaps();
    // The window itself is untouched by the wrapper's end.
    EXPECT_TRUE(::IsWindow(hWnd));
    ::DestroyWindow(hWnd);
}

TEST(RuntimeClass, ReportsNamesAndBases)
{
    CMFCEditBrowseCtrl browse;
    EXPECT_STREQ("CMFCEditBrowseCtrl", browse.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(browse.IsKindOf(RUNTIME_CLASS(CEdit)));
    EXPECT_TRUE(browse.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(browse.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(browse.IsKindOf(RUNTIME_CLASS(CButton)));
    CProgressCtrl progress;
    EXPECT_EQ(RUNTIME_CLASS(CWnd), progress.GetRuntimeClass()->m_pBaseClass);
}

}  // namespace
