// CMFCEditBrowseCtrl: its window class and initialisation record, the browse button in the
// non-client area, the drawing hook, clicks, and the folder picker.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Afx.h"
#include "tests/support/GuiTest.h"

namespace {

struct ButtonDraw {
    CRect rect;
    BOOL pressed, hot;
};

class CHookedBrowse : public CMFCEditBrowseCtrl {
public:
    std::vector<ButtonDraw> draws;
    int browses = 0;
    bool callBase = false;  // OnBrowse: the framework's own (folder picker) or a count only
    int afterUpdates = 0;

    void OnDrawBrowseButton(CDC* pDC, CRect rect, BOOL bIsButtonPressed, BOOL bIsButtonHot) override
    {
        draws.push_back({rect, bIsButtonPressed, bIsButtonHot});
        pDC->FillSolidRect(&rect, RGB(0, 128, 255));
    }
    void OnBrowse() override
    {
        ++browses;
        if (callBase) CMFCEditBrowseCtrl::OnBrowse();
    }
    void OnAfterUpdate() override { ++afterUpdates; }
};

class EditBrowseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxRegisterEditBrowseClass());
        ASSERT_TRUE(parent.CreateEx(0, gui_test::PlainWindowClass(), "parent",
                                    WS_POPUP | WS_VISIBLE, 50, 50, 320, 120, nullptr, nullptr));
    }

    // An "MfcEditBrowse" window of 200 x 24 with a border, as a dialog template makes it.
    HWND MakeField(const char* initRecord)
    {
        HWND hWnd = ::CreateWindowExA(0, "MfcEditBrowse", "", WS_CHILD | WS_VISIBLE | WS_BORDER |
                                                              ES_AUTOHSCROLL,
                                      10, 10, 200, 24, parent.m_hWnd, reinterpret_cast<HMENU>(7),
                                      ::GetModuleHandleA(nullptr), nullptr);
        if (hWnd && initRecord)
            ::SendMessageA(hWnd, AFX_WM_INITCTRL, strlen(initRecord),
                           reinterpret_cast<LPARAM>(initRecord));
        return hWnd;
    }

    // The button sits right of the text area, as high as it, square.
    static void ExpectButtonBesideTheTextArea(const CMFCEditBrowseCtrl& field)
    {
        CRect window, client;
        field.GetWindowRect(&window);
        field.GetClientRect(&client);
        CPoint origin(0, 0);
        ::ClientToScreen(field.m_hWnd, &origin);
        origin.Offset(-window.left, -window.top);
        EXPECT_EQ(CRect(origin.x + client.Width(), origin.y,
                        origin.x + client.Width() + client.Height(), origin.y + client.Height()),
                  field.GetButtonRect());
    }

    CPoint ButtonCentre(const CMFCEditBrowseCtrl& field)
    {
        CRect window;
        field.GetWindowRect(&window);
        CPoint centre = field.GetButtonRect().CenterPoint();
        return CPoint(window.left + centre.x, window.top + centre.y);
    }

    CWnd parent;
};

TEST(EditBrowseInitData, OnlyTheFolderModeRecordGivesAButton)
{
    const struct {
        const char* text;
        CMFCEditBrowseCtrl::BrowseMode mode;
    } cases[] = {
        {"<MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>", CMFCEditBrowseCtrl::BrowseMode_Folder},
        {"  <MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>\0", CMFCEditBrowseCtrl::BrowseMode_Folder},
        {"<MFCEditBrowse_Mode>0</MFCEditBrowse_Mode>", CMFCEditBrowseCtrl::BrowseMode_None},
        {"<MFCEditBrowse_Mode>1</MFCEditBrowse_Mode>", CMFCEditBrowseCtrl::BrowseMode_None},
        {"<MFCEditBrowse_Mode>22</MFCEditBrowse_Mode>", CMFCEditBrowseCtrl::BrowseMode_None},
        {"<MFCEditBrowse_Mode>2", CMFCEditBrowseCtrl::BrowseMode_None},
        {"<mfceditbrowse_mode>2</mfceditbrowse_mode>", CMFCEditBrowseCtrl::BrowseMode_None},
        {"2", CMFCEditBrowseCtrl::BrowseMode_None},
        {"", CMFCEditBrowseCtrl::BrowseMode_None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.mode, CMFCEditBrowseCtrl::ParseInitData(c.text, strlen(c.text))) << c.text;
    }
    EXPECT_EQ(CMFCEditBrowseCtrl::BrowseMode_None, CMFCEditBrowseCtrl::ParseInitData(nullptr, 5));
    // The byte count bounds the text: a cut record is not read past its end.
    const char cut[] = "<MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>";
    EXPECT_EQ(CMFCEditBrowseCtrl::BrowseMode_None,
              CMFCEditBrowseCtrl::ParseInitData(cut, sizeof cut - 3));
}

TEST_F(EditBrowseTest, FieldKeepsItsRecordUntilAnObjectSubclassesIt)
{
    CHookedBrowse folder, plain;
    ASSERT_TRUE(folder.SubclassWindow(MakeField("<MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>")));
    ASSERT_TRUE(plain.SubclassWindow(MakeField(nullptr)));
    EXPECT_EQ(CMFCEditBrowseCtrl::BrowseMode_Folder, folder.GetMode());
    EXPECT_EQ(CMFCEditBrowseCtrl::BrowseMode_None, plain.GetMode());

    // Same size and style: the button takes its width from the plain field's text area.
    ExpectButtonBesideTheTextArea(folder);
    CRect folderClient, plainClient;
    folder.GetClientRect(&folderClient);
    plain.GetClientRect(&plainClient);
    EXPECT_GT(folderClient.Height(), 10);
    EXPECT_EQ(plainClient.Width(), folderClient.Width() + folder.GetButtonRect().Width());
    EXPECT_TRUE(plain.GetButtonRect().IsRectEmpty());

    // The field is still an edit.
    folder.SetWindowText("德拉沃");
    CString text;
    folder.GetWindowText(text);
    EXPECT_STREQ("德拉沃", text);
}

TEST_F(EditBrowseTest, ModeCanBeSwitchedInCode)
{
    CHookedBrowse field;
    ASSERT_TRUE(field.SubclassWindow(MakeField(nullptr)));
    CRect plain;
    field.GetClientRect(&plain);
    field.EnableBrowseButton();
    EXPECT_EQ(CMFCEditBrowseCtrl::BrowseMode_Default, field.GetMode());
    ExpectButtonBesideTheTextArea(field);
    field.EnableBrowseButton(FALSE);
    EXPECT_EQ(CMFCEditBrowseCtrl::BrowseMode_None, field.GetMode());
    EXPECT_TRUE(field.GetButtonRect().IsRectEmpty());
    CRect client;
    field.GetClientRect(&client);
    EXPECT_EQ(plain, client);
}

TEST_F(EditBrowseTest, ButtonIsDrawnByTheHookInTheNonClientArea)
{
    CHookedBrowse field;
    ASSERT_TRUE(field.SubclassWindow(MakeField("<MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>")));
    field.draws.clear();
    field.RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(field.draws.empty());
    EXPECT_EQ(field.GetButtonRect(), field.draws.back().rect);
    EXPECT_FALSE(field.draws.back().pressed);
    EXPECT_FALSE(field.draws.back().hot);

    CWindowDC dc(&field);
    CPoint centre = field.GetButtonRect().CenterPoint();
    EXPECT_EQ(RGB(0, 128, 255), dc.GetPixel(centre.x, centre.y));
}

TEST_F(EditBrowseTest, ClickOnTheButtonBrowsesAndHotAndPressedAreDrawn)
{
    CHookedBrowse field;
    ASSERT_TRUE(field.SubclassWindow(MakeField("<MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>")));
    CPoint button = ButtonCentre(field);
    LPARAM onButton = MAKELPARAM(button.x, button.y);
    CRect window;
    field.GetWindowRect(&window);
    LPARAM onText = MAKELPARAM(window.left + 20, window.top + 12);

    EXPECT_EQ(HTOBJECT, field.SendMessage(WM_NCHITTEST, 0, onButton));
    EXPECT_EQ(HTCLIENT, field.SendMessage(WM_NCHITTEST, 0, onText));

    field.draws.clear();
    field.SendMessage(WM_NCMOUSEMOVE, HTOBJECT, onButton);
    ASSERT_FALSE(field.draws.empty());
    EXPECT_TRUE(field.draws.back().hot);
    field.SendMessage(WM_NCMOUSELEAVE);
    EXPECT_FALSE(field.draws.back().hot);

    // Press and release on the button: one browse.
    field.SendMessage(WM_NCLBUTTONDOWN, HTOBJECT, onButton);
    EXPECT_TRUE(field.draws.back().pressed);
    EXPECT_EQ(field.m_hWnd, ::GetCapture());
    CPoint inside = button;
    field.ScreenToClient(&inside);
    field.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(inside.x, inside.y));
    EXPECT_FALSE(field.draws.back().pressed);
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(1, field.browses);

    // Press, move off, release off: drawn released, no browse.
    field.SendMessage(WM_NCLBUTTONDOWN, HTOBJECT, onButton);
    field.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(field.draws.back().pressed);
    field.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1, field.browses);
    EXPECT_EQ(nullptr, ::GetCapture());
}

// Finds the folder picker the field opened and presses one of its buttons.
HWND g_pickerOwner = nullptr;
int g_pickerAnswer = IDOK;
bool g_pickerSeen = false;

BOOL CALLBACK PressPickerButton(HWND hWnd, LPARAM)
{
    char className[32] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    if (strcmp(className, "#32770") != 0 || !::IsWindowVisible(hWnd)) return TRUE;
    if (::GetWindow(hWnd, GW_OWNER) != g_pickerOwner) return TRUE;
    g_pickerSeen = true;
    ::PostMessageA(hWnd, WM_COMMAND, g_pickerAnswer, 0);
    return FALSE;
}

void CALLBACK PickerTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_pickerSeen) ::EnumThreadWindows(::GetCurrentThreadId(), &PressPickerButton, 0);
}

TEST_F(EditBrowseTest, FolderModeOpensThePickerAtTheFieldsFolder)
{
    CShellManager shell;
    for (int answer : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(answer);
        CHookedBrowse field;
        field.callBase = true;
        ASSERT_TRUE(field.SubclassWindow(MakeField("<MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>")));
        field.SetWindowText("C:\\windows\\system32\\");
        field.SetModify(FALSE);

        g_pickerOwner = parent.m_hWnd;
        g_pickerAnswer = answer;
        g_pickerSeen = false;
        UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &PickerTimer);
        CPoint button = ButtonCentre(field);
        field.SendMessage(WM_NCLBUTTONDOWN, HTOBJECT, MAKELPARAM(button.x, button.y));
        field.ScreenToClient(&button);
        field.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(button.x, button.y));  // runs the picker
        ::KillTimer(nullptr, timer);

        EXPECT_TRUE(g_pickerSeen);
        CString text;
        field.GetWindowText(text);
        if (answer == IDOK) {
            // The folder the picker started at, as the shell spells it (no trailing '\').
            EXPECT_EQ(0, text.CompareNoCase("C:\\windows\\system32")) << text.GetString();
            EXPECT_EQ(1, field.afterUpdates);
            EXPECT_TRUE(field.GetModify());
        } else {
            EXPECT_STREQ("C:\\windows\\system32\\", text);
            EXPECT_EQ(0, field.afterUpdates);
        }
        field.DestroyWindow();
    }
}

}  // namespace
