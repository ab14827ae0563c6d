// The standard controls, and WM_DRAWITEM reflected from the owner to the child's DrawItem.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/Afx.h"
#include "tests/support/GuiTest.h"

namespace {

class COwnerDrawnButton : public CButton {
public:
    explicit COwnerDrawnButton(COLORREF fill) : m_fill(fill) {}
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        ++draws;
        ctlId = lpDIS->CtlID;
        hwndItem = lpDIS->hwndItem;
        CDC::FromHandle(lpDIS->hDC)->FillSolidRect(&lpDIS->rcItem, m_fill);
    }
    int draws = 0;
    UINT ctlId = 0;
    HWND hwndItem = nullptr;

private:
    COLORREF m_fill;
};

// An owner that handles WM_DRAWITEM itself and then asks for the default.
class COwnerWnd : public CWnd {
public:
    int ownerDraws = 0;

protected:
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
    {
        ++ownerDraws;
        CWnd::OnDrawItem(nIDCtl, lpDrawItemStruct);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnerWnd, CWnd)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

COLORREF ClientPixel(CWnd& wnd, int x, int y)
{
    CClientDC dc(&wnd);
    return dc.GetPixel(x, y);
}

TEST(Reflection, OwnerDrawnButtonDrawsItselfThroughItsOwner)
{
    CWnd owner;  // no WM_DRAWITEM entry: the framework reflects
    ASSERT_TRUE(owner.CreateEx(0, gui_test::PlainWindowClass(), "owner", WS_POPUP | WS_VISIBLE,
                               10, 10, 200, 120, nullptr, nullptr));
    COwnerDrawnButton button(RGB(200, 10, 10));
    ASSERT_TRUE(button.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 90, 50), &owner, 42));
    owner.UpdateWindow();
    button.RedrawWindow();

    EXPECT_GT(button.draws, 0);
    EXPECT_EQ(42u, button.ctlId);
    EXPECT_EQ(button.m_hWnd, button.hwndItem);
    EXPECT_EQ(RGB(200, 10, 10), ClientPixel(button, 5, 5));
    EXPECT_EQ(RGB(200, 10, 10), ClientPixel(button, 79, 39));
}

TEST(Reflection, OwnerWithItsOwnHandlerStillReachesTheChild)
{
    COwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, gui_test::PlainWindowClass(), "owner", WS_POPUP | WS_VISIBLE,
                               10, 10, 200, 120, nullptr, nullptr));
    COwnerDrawnButton button(RGB(10, 200, 10));
    ASSERT_TRUE(button.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 40, 30), &owner, 43));
    button.RedrawWindow();
    EXPECT_GT(owner.ownerDraws, 0);
    EXPECT_GT(button.draws, 0);
    EXPECT_EQ(RGB(10, 200, 10), ClientPixel(button, 20, 15));
}

TEST(Reflection, ChildWithoutObjectGetsTheDefault)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, gui_test::PlainWindowClass(), "owner", WS_POPUP | WS_VISIBLE,
                               10, 10, 200, 120, nullptr, nullptr));
    HWND raw = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 40,
                                 30, owner.m_hWnd, reinterpret_cast<HMENU>(44),
                                 ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, raw);
    ::RedrawWindow(raw, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    DRAWITEMSTRUCT item{ODT_BUTTON, 44, 0, ODA_DRAWENTIRE, 0, raw, nullptr, {0, 0, 1, 1}, 0};
    EXPECT_EQ(FALSE, owner.SendMessage(WM_DRAWITEM, 44, reinterpret_cast<LPARAM>(&item)));
}

TEST(Controls, ThinViewsSendTheirMessages)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, gui_test::PlainWindowClass(), "", WS_POPUP, 0, 0, 300, 200,
                                nullptr, nullptr));
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD, CRect(0, 0, 100, 10), &parent, 1));
    progress.SetRange(10, 20);
    int lower = 0, upper = 0;
    progress.GetRange(lower, upper);
    EXPECT_EQ(10, lower);
    EXPECT_EQ(20, upper);
    progress.SetPos(15);
    EXPECT_EQ(15, progress.GetPos());
    EXPECT_EQ(15, progress.SetPos(17));

    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD, CRect(0, 20, 100, 40), &parent, 2));
    EXPECT_FALSE(edit.GetStyle() & ES_READONLY);
    edit.SetReadOnly(TRUE);
    EXPECT_TRUE(edit.GetStyle() & ES_READONLY);

    CButton check;
    ASSERT_TRUE(check.Create("check", WS_CHILD | BS_AUTOCHECKBOX, CRect(0, 50, 100, 70), &parent, 3));
    EXPECT_EQ(BST_UNCHECKED, check.GetCheck());
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, check.GetCheck());
    EXPECT_EQ(3, check.GetDlgCtrlID());
    EXPECT_EQ(&check, parent.GetDlgItem(3));
}

}  // namespace
