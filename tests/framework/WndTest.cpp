// CWnd operations the product uses: styles, frame, text, fonts, the system menu.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/Afx.h"
#include "tests/framework/FrameworkTestIds.h"
#include "tests/support/GuiTest.h"

namespace {

class WndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, gui_test::PlainWindowClass(), "parent",
                                    WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 300, 200, nullptr,
                                    nullptr));
        ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_BORDER,
                                  CRect(10, 10, 110, 40), &parent, 5));
    }
    CWnd parent;
    CEdit edit;
};

TEST_F(WndTest, ModifyStyleChangesOnlyWhatItIsAskedTo)
{
    DWORD before = edit.GetStyle();
    EXPECT_FALSE(edit.ModifyStyle(0, WS_CHILD));  // already there
    EXPECT_TRUE(edit.ModifyStyle(WS_BORDER, ES_READONLY));
    EXPECT_EQ((before & ~WS_BORDER) | ES_READONLY, edit.GetStyle());
}

TEST_F(WndTest, ModifyStyleExWithFrameChangedRecomputesTheClientArea)
{
    CRect before;
    edit.GetClientRect(&before);
    EXPECT_TRUE(edit.ModifyStyleEx(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, 0, SWP_FRAMECHANGED));
    CRect after;
    edit.GetClientRect(&after);
    EXPECT_EQ(0u, edit.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_GT(after.Width(), before.Width());
}

TEST_F(WndTest, WindowTextRoundTripsChineseInCodePage936)
{
    const char text[] = "C:\\Program Files\\德拉沃归档助手\\";
    edit.SetWindowText(text);
    CString read;
    edit.GetWindowText(read);
    EXPECT_STREQ(text, read);
    EXPECT_EQ(static_cast<int>(sizeof text - 1), edit.GetWindowTextLength());
    edit.SetWindowText("");
    edit.GetWindowText(read);
    EXPECT_TRUE(read.IsEmpty());
}

TEST_F(WndTest, SetFontAndGetFontAgree)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Microsoft YaHei"));
    edit.SetFont(&font, FALSE);
    CFont* current = edit.GetFont();
    ASSERT_NE(nullptr, current);
    EXPECT_EQ(font.m_hObject, current->m_hObject);
}

TEST_F(WndTest, MoveAndPositionInParentCoordinates)
{
    edit.MoveWindow(20, 30, 120, 25, FALSE);
    CRect rect;
    edit.GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    EXPECT_EQ(CRect(20, 30, 140, 55), rect);
    edit.SetWindowPos(nullptr, 0, 0, 50, 15, SWP_NOMOVE | SWP_NOZORDER);
    edit.GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    EXPECT_EQ(CRect(20, 30, 70, 45), rect);
}

TEST_F(WndTest, SystemMenuTakesASeparatorAndAnItem)
{
    CMenu* menu = parent.GetSystemMenu(FALSE);
    ASSERT_NE(nullptr, menu);
    int count = menu->GetMenuItemCount();
    CString about;
    ASSERT_TRUE(about.LoadString(IDS_ABOUT));
    EXPECT_TRUE(menu->AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(menu->AppendMenu(MF_STRING, 0x10, about));
    ASSERT_EQ(count + 2, menu->GetMenuItemCount());
    EXPECT_EQ(0x10u, menu->GetMenuItemID(count + 1));
    CString text;
    menu->GetMenuString(count + 1, text, MF_BYPOSITION);
    EXPECT_STREQ("关于 Installer(&A)...", text);
}

}  // namespace
