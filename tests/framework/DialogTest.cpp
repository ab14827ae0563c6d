// CDialog: modal run from a template resource, initialisation data, DDX_Control, Enter and
// Esc, and owner-drawn controls drawn through reflection inside a dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "framework/Afx.h"
#include "tests/framework/FrameworkTestIds.h"
#include "tests/support/GuiTest.h"

namespace {

class CRedButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        ++draws;
        ctlId = lpDIS->CtlID;
        CDC::FromHandle(lpDIS->hDC)->FillSolidRect(&lpDIS->rcItem, RGB(200, 10, 10));
    }
    int draws = 0;
    UINT ctlId = 0;
};

// The test dialog: its members are attached by data exchange; once the dialog is on screen a
// timer runs the test's check and then whatever ends the dialog.
class CControlsDlg : public CDialog {
public:
    explicit CControlsDlg(UINT nIDTemplate = IDD_CONTROLS) : CDialog(nIDTemplate) {}

    std::function<void(CControlsDlg&)> onShown;
    int exchanges = 0;
    int savingExchanges = 0;
    bool initialised = false;

    CRedButton m_btnDraw;
    CEdit m_edit;
    CProgressCtrl m_progress;
    CMFCEditBrowseCtrl m_browse;
    CMFCEditBrowseCtrl m_browsePlain;
    CButton m_check;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        ++exchanges;
        if (pDX->m_bSaveAndValidate) ++savingExchanges;
        if (GetTemplateID() != IDD_CONTROLS) {
            DDX_Control(pDX, IDC_BROWSE, m_browse);
            return;
        }
        DDX_Control(pDX, IDC_OWNERDRAW, m_btnDraw);
        DDX_Control(pDX, IDC_EDIT, m_edit);
        DDX_Control(pDX, IDC_PROGRESS, m_progress);
        DDX_Control(pDX, IDC_BROWSE, m_browse);
        DDX_Control(pDX, IDC_BROWSE_PLAIN, m_browsePlain);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        initialised = true;
        if (GetTemplateID() == IDD_CONTROLS) m_check.SubclassDlgItem(IDC_CHECK, this);
        SetTimer(1, 20);
        return TRUE;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        KillTimer(nIDEvent);
        if (onShown) onShown(*this);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CControlsDlg, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

// Presses a key in the dialog the way the keyboard does: a WM_KEYDOWN in the queue, which
// the modal loop's dialog-message handling turns into a command.
void PressKey(CDialog& dlg, WPARAM key)
{
    HWND target = ::GetFocus();
    if (!target || (target != dlg.m_hWnd && !::IsChild(dlg.m_hWnd, target))) target = dlg.m_hWnd;
    ::PostMessageA(target, WM_KEYDOWN, key, 1);
    ::PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
    }
};

TEST_F(DialogTest, DoModalAttachesMembersAndEscEndsIt)
{
    CControlsDlg dlg;
    bool checked = false;
    dlg.onShown = [&](CControlsDlg& d) {
        checked = true;
        EXPECT_TRUE(d.IsWindowVisible());
        const struct {
            int id;
            CWnd* member;
        } attached[] = {{IDC_OWNERDRAW, &d.m_btnDraw}, {IDC_EDIT, &d.m_edit},
                        {IDC_PROGRESS, &d.m_progress}, {IDC_BROWSE, &d.m_browse},
                        {IDC_BROWSE_PLAIN, &d.m_browsePlain}, {IDC_CHECK, &d.m_check}};
        for (const auto& a : attached) {
            SCOPED_TRACE(a.id);
            EXPECT_EQ(::GetDlgItem(d.m_hWnd, a.id), a.member->m_hWnd);
            EXPECT_EQ(a.member, d.GetDlgItem(a.id));
        }
        // Data exchange attached the members once, in OnInitDialog.
        EXPECT_EQ(1, d.exchanges);
        // Messages to a member go through its object.
        d.m_progress.SetRange(0, 100);
        d.m_progress.SetPos(40);
        EXPECT_EQ(40, d.m_progress.GetPos());
        PressKey(d, VK_ESCAPE);
    };
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(checked);
    EXPECT_TRUE(dlg.initialised);
    // The window is gone and every object has let go of its control.
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    for (CWnd* member : {static_cast<CWnd*>(&dlg.m_btnDraw), static_cast<CWnd*>(&dlg.m_edit),
                         static_cast<CWnd*>(&dlg.m_progress), static_cast<CWnd*>(&dlg.m_browse),
                         static_cast<CWnd*>(&dlg.m_check)})
        EXPECT_EQ(nullptr, member->m_hWnd);
    EXPECT_EQ(0, dlg.savingExchanges);  // Esc does not read the controls back
}

TEST_F(DialogTest, EnterSavesTheDataAndEndsWithIdOk)
{
    CControlsDlg dlg;
    dlg.onShown = [](CControlsDlg& d) {
        d.m_edit.SetFocus();
        PressKey(d, VK_RETURN);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(1, dlg.savingExchanges);
}

TEST_F(DialogTest, ADialogCanRunAgainAfterItEnded)
{
    CControlsDlg dlg;
    dlg.onShown = [](CControlsDlg& d) { d.EndDialog(7); };
    EXPECT_EQ(7, dlg.DoModal());
    EXPECT_EQ(7, dlg.DoModal());
    EXPECT_EQ(2, dlg.exchanges);
}

TEST_F(DialogTest, OwnerDrawnControlDrawsThroughReflection)
{
    CControlsDlg dlg;
    COLORREF pixel = CLR_INVALID;
    dlg.onShown = [&](CControlsDlg& d) {
        d.m_btnDraw.RedrawWindow();
        CClientDC dc(&d.m_btnDraw);
        pixel = dc.GetPixel(4, 4);
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
    EXPECT_GT(dlg.m_btnDraw.draws, 0);
    EXPECT_EQ(static_cast<UINT>(IDC_OWNERDRAW), dlg.m_btnDraw.ctlId);
    EXPECT_EQ(RGB(200, 10, 10), pixel);
}

TEST_F(DialogTest, InitialisationDataPutsTheEditBrowseIntoFolderMode)
{
    CControlsDlg dlg;
    int plainClient = 0, browseClient = 0, browseClientHeight = 0;
    dlg.onShown = [&](CControlsDlg& d) {
        CRect client;
        d.m_browse.GetClientRect(&client);
        browseClient = client.Width();
        browseClientHeight = client.Height();
        d.m_browsePlain.GetClientRect(&client);
        plainClient = client.Width();
        d.EndDialog(IDOK);
    };
    dlg.DoModal();
    EXPECT_EQ(CMFCEditBrowseCtrl::BrowseMode_Folder, dlg.m_browse.GetMode());
    EXPECT_EQ(CMFCEditBrowseCtrl::BrowseMode_None, dlg.m_browsePlain.GetMode());
    // Same template width; the folder field gives a square button as high as its text area.
    CRect button = dlg.m_browse.GetButtonRect();
    EXPECT_EQ(browseClientHeight, button.Height());
    EXPECT_EQ(button.Height(), button.Width());
    EXPECT_EQ(plainClient - button.Width(), browseClient);
}

TEST_F(DialogTest, WithoutInitialisationDataTheEditBrowseHasNoButton)
{
    CControlsDlg dlg(IDD_NO_INIT_DATA);
    dlg.onShown = [](CControlsDlg& d) { d.EndDialog(IDOK); };
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(CMFCEditBrowseCtrl::BrowseMode_None, dlg.m_browse.GetMode());
    EXPECT_TRUE(dlg.m_browse.GetButtonRect().IsRectEmpty());
}

TEST_F(DialogTest, MissingTemplateFailsWithMinusOne)
{
    CControlsDlg dlg(IDD_MISSING);
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_FALSE(dlg.initialised);
}

}  // namespace
