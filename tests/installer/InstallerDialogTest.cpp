// The installer dialog run in this test program, on Xvfb, against the vendor stand-in: the
// dialog runs modally on the main thread as in the product, while a second thread acts as the
// user with the real mouse, looks at the screen and asks the dialog's thread for what only the
// dialog knows.
#include "Installer/InstallerDlg.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "Installer/InstallerApp.h"
#include "Installer/res/resource.h"
#include "net/Downloader.h"
#include "tests/installer/InstallerTestSupport.h"
#include "tests/support/StandIn.h"
#include "tests/support/TempFolder.h"
#include "workflow/StagingArea.h"

using namespace installer_test;

namespace {

// The dialog with what the tests look at opened up, and a notice when it is initialised.
class TestDlg : public CInstallerDlg {
public:
    std::function<void(HWND)> onInitialized;

    bool AgreeChecked() const { return m_chkAgree.IsChecked(); }
    std::string InstallDir() const { return Session().m_strInstallDir; }
    std::string DownloadUrl() const { return Session().m_strDownloadUrl; }
    std::string ProgressFile() const { return Session().ProgressFile(); }
    HICON Icon() const { return m_hIcon; }

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = CInstallerDlg::OnInitDialog();
        if (onInitialized) onInitialized(m_hWnd);
        return result;
    }
};

// Runs a function on the dialog's thread (this test's main thread) from the user's thread: a
// message-only window of the main thread calls it while the modal loop dispatches.
class UiThread {
public:
    UiThread()
    {
        static const char* cls = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "InstallerTestUiCall";
            RegisterClassA(&wc);
            return "InstallerTestUiCall";
        }();
        m_hWnd = CreateWindowExA(0, cls, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    }
    ~UiThread() { DestroyWindow(m_hWnd); }
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    void Run(const std::function<void()>& fn) const
    {
        SendMessageA(m_hWnd, WM_APP, 0, reinterpret_cast<LPARAM>(&fn));
    }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP) {
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return 0;
        }
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
    HWND m_hWnd;
};

// Runs dlg modally on this thread. user() runs on a second thread once the window shows, with
// the way to run code on this thread; when it returns with the dialog still open, the dialog
// is ended as Esc ends it.
INT_PTR RunDialog(TestDlg& dlg, const std::function<void(HWND, const UiThread&)>& user)
{
    UiThread ui;
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> returned{false};
    dlg.onInitialized = [&](HWND hWnd) { window = hWnd; };
    std::thread driver([&] {
        if (!WaitFor([&] { return window.load() || returned.load(); }, 60000) || returned) return;
        HWND hWnd = window;
        if (WaitFor([&] { return IsWindowVisible(hWnd) != FALSE; })) {
            MovePointerAway();
            Sleep(200);  // the first paint
            user(hWnd, ui);
        } else {
            ADD_FAILURE() << "the dialog never showed";
        }
        if (IsWindow(hWnd)) PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    INT_PTR result = dlg.DoModal();
    returned = true;
    driver.join();
    return result;
}

HWND Item(HWND hDlg, int nID) { return GetDlgItem(hDlg, nID); }

int BarPos(HWND hDlg)
{
    return static_cast<int>(SendMessageA(Item(hDlg, IDC_PROGRESS), PBM_GETPOS, 0, 0));
}

std::string ItemText(HWND hDlg, int nID)
{
    char text[MAX_PATH * 2] = {};
    GetWindowTextA(Item(hDlg, nID), text, sizeof text);
    return text;
}

LOGFONTA ItemFont(HWND hDlg, int nID, HFONT* pFont = nullptr)
{
    LOGFONTA lf{};
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(Item(hDlg, nID), WM_GETFONT, 0, 0));
    if (pFont) *pFont = hFont;
    GetObjectA(hFont, sizeof lf, &lf);
    return lf;
}

int ScreenDpi()
{
    HDC hScreen = GetDC(nullptr);
    int dpi = GetDeviceCaps(hScreen, LOGPIXELSX);
    ReleaseDC(nullptr, hScreen);
    return dpi;
}

struct PickerSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchPicker(HWND h, LPARAM p)
{
    auto* s = reinterpret_cast<PickerSearch*>(p);
    char cls[32] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (h != s->owner && strcmp(cls, "#32770") == 0 && IsWindowVisible(h)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

// The folder picker the dialog opened: a dialog window of the same thread.
HWND FindFolderPicker(HWND hDlg)
{
    PickerSearch search{hDlg, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(hDlg, nullptr), &MatchPicker,
                      reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of the item selected in the picker's folder tree.
std::string SelectedTreeText(HWND hPicker)
{
    HWND hTree = FindWindowExA(hPicker, nullptr, WC_TREEVIEWA, nullptr);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    char text[MAX_PATH] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    if (!item || !SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return "";
    return text;
}

// Opens the folder picker with the browse button, selects folder in it (empty: nothing) and
// presses OK, or Cancel when folder is empty.
::testing::AssertionResult ChooseFolder(HWND hDlg, const std::string& folder)
{
    Click(Item(hDlg, IDC_BROWSE));
    HWND hPicker = nullptr;
    if (!WaitFor([&] { return (hPicker = FindFolderPicker(hDlg)) != nullptr; }))
        return ::testing::AssertionFailure() << "no folder picker appeared";
    if (IsWindowEnabled(hDlg)) return ::testing::AssertionFailure() << "the installer stays usable";
    Sleep(300);  // the picker fills its tree
    if (folder.empty()) {
        PostMessageA(hPicker, WM_COMMAND, IDCANCEL, 0);
    } else {
        // The picker may not find a folder deep down on the first try while it still fills
        // its tree: select until the tree shows the folder's name.
        // (The last backslash found character by character: a trail byte can be 0x5C.)
        const std::string name = folder.size() <= 3
                                     ? folder.substr(0, 2)
                                     : folder.substr(CString(folder).ReverseFind('\\') + 1);
        bool selected = false;
        for (int attempt = 0; attempt < 20 && !selected; ++attempt) {
            SendMessageA(hPicker, BFFM_SETSELECTIONA, TRUE,
                         reinterpret_cast<LPARAM>(folder.c_str()));
            Sleep(100);
            selected = SelectedTreeText(hPicker).find(name) != std::string::npos;
        }
        if (!selected) {
            PostMessageA(hPicker, WM_COMMAND, IDCANCEL, 0);
            return ::testing::AssertionFailure() << "the picker does not select " << folder;
        }
        PostMessageA(hPicker, WM_COMMAND, IDOK, 0);
    }
    if (!WaitFor([&] { return !IsWindow(hPicker); }))
        return ::testing::AssertionFailure() << "the folder picker stays open";
    WaitFor([&] { return IsWindowEnabled(hDlg) != FALSE; });
    return ::testing::AssertionSuccess();
}

class InstallerDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // What start-up prepares before it runs the dialog.
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        StartGdiplus();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        SetEnvironmentVariableA("SETUP_STANDIN_STEP_MS", "5");
    }
    void SetUp() override { standin::Reset(); }
};

// ---- start screen --------------------------------------------------------------------------

TEST_F(InstallerDialog, StartScreenPlacesEveryControlWithItsFontsAndColours)
{
    TestDlg dlg;
    RunDialog(dlg, [&](HWND hDlg, const UiThread& ui) {
        const Band band = BandFor(ScreenDpi());

        RECT client{};
        GetClientRect(hDlg, &client);
        EXPECT_EQ(702, client.right);
        EXPECT_EQ(502, client.bottom);
        EXPECT_EQ(0u, GetWindowLongA(hDlg, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));

        // The agreement sentence in the box's own font, measured here.
        const std::string sentence = ItemText(hDlg, IDC_AGREE);
        ASSERT_EQ("我已阅读并同意德拉沃云", sentence);
        HDC hScreen = GetDC(nullptr);
        HGDIOBJ hOld = SelectObject(
            hScreen, reinterpret_cast<HFONT>(SendMessageA(Item(hDlg, IDC_AGREE), WM_GETFONT, 0, 0)));
        SIZE text{};
        GetTextExtentPoint32A(hScreen, sentence.c_str(), static_cast<int>(sentence.size()), &text);
        SelectObject(hScreen, hOld);
        ReleaseDC(nullptr, hScreen);

        for (const ControlPlace& place : kPlaces) {
            SCOPED_TRACE(place.name);
            EXPECT_EQ(Describe(ExpectedRect(place, band, text.cx)),
                      Describe(ControlRect(hDlg, place.nID)));
        }
        // The link starts where the sentence ends, overlapping the box by 3 pixels as the
        // band's numbers have it.
        EXPECT_EQ(ControlRect(hDlg, IDC_AGREE).right - 3, ControlRect(hDlg, IDC_AGREEMENT_LINK).left);
        EXPECT_EQ((std::set<int>{IDC_INSTALL, IDC_CLOSE, IDC_BROWSE, IDC_INSTALL_DIR, IDC_AGREE,
                                 IDC_AGREEMENT_LINK}),
                  ShownControls(hDlg));
        EXPECT_TRUE(IsWindowEnabled(Item(hDlg, IDC_INSTALL)));

        // The install folder text: the default folder, read-only, no border, the point font.
        EXPECT_EQ(kDefaultInstallDir, ItemText(hDlg, IDC_INSTALL_DIR));
        const LONG editStyle = GetWindowLongA(Item(hDlg, IDC_INSTALL_DIR), GWL_STYLE);
        EXPECT_TRUE(editStyle & ES_READONLY);
        EXPECT_FALSE(editStyle & WS_BORDER);
        HFONT hFolderFont = nullptr, hPathFont = nullptr, hBoxFont = nullptr, hLinkFont = nullptr;
        LOGFONTA folderFont = ItemFont(hDlg, IDC_INSTALL_DIR, &hFolderFont);
        LOGFONTA pathFont = ItemFont(hDlg, IDC_PATH_FIELD, &hPathFont);
        LOGFONTA boxFont = ItemFont(hDlg, IDC_AGREE, &hBoxFont);
        ItemFont(hDlg, IDC_AGREEMENT_LINK, &hLinkFont);
        const int dpi = ScreenDpi();
        EXPECT_EQ(-MulDiv(dpi, band.nPointTenths, 720), folderFont.lfHeight);
        EXPECT_STREQ("Microsoft YaHei", folderFont.lfFaceName);
        EXPECT_EQ(folderFont.lfHeight, pathFont.lfHeight);
        EXPECT_NE(hFolderFont, hPathFont);  // each field has a font of its own
        EXPECT_EQ(-MulDiv(band.nScaledPoints, dpi, 72), boxFont.lfHeight);
        EXPECT_EQ(FW_NORMAL, boxFont.lfWeight);
        EXPECT_STREQ("Microsoft YaHei", boxFont.lfFaceName);
        EXPECT_EQ(hBoxFont, hLinkFont);  // one font for the box and the link

        // Owner-drawn skins; the path field lost its edges and got a plain border.
        for (int id :
             {IDC_INSTALL, IDC_LAUNCH, IDC_CLOSE, IDC_BROWSE, IDC_AGREE, IDC_AGREEMENT_LINK})
            EXPECT_EQ(BS_OWNERDRAW, GetWindowLongA(Item(hDlg, id), GWL_STYLE) & BS_TYPEMASK) << id;
        EXPECT_TRUE(GetWindowLongA(Item(hDlg, IDC_AGREEMENT_LINK), GWL_STYLE) & BS_FLAT);
        EXPECT_TRUE(GetWindowLongA(Item(hDlg, IDC_PATH_FIELD), GWL_STYLE) & WS_BORDER);
        EXPECT_EQ(0, GetWindowLongA(Item(hDlg, IDC_PATH_FIELD), GWL_EXSTYLE) &
                         (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));

        // The download address came from the configuration service, the bar is ready.
        std::string url, installDir;
        ui.Run([&] {
            url = dlg.DownloadUrl();
            installDir = dlg.InstallDir();
        });
        EXPECT_EQ(standin::Url("/download/dravo_com_installer.exe"), url);
        EXPECT_EQ(kDefaultInstallDir, installDir);
        PBRANGE range{};
        SendMessageA(Item(hDlg, IDC_PROGRESS), PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
        EXPECT_EQ(0, range.iLow);
        EXPECT_EQ(100, range.iHigh);
        EXPECT_EQ(0, BarPos(hDlg));
        EXPECT_EQ(hDlg, notify_hwnd);

        // What the screen shows.
        Shot shot = CaptureClient(hDlg);
        EXPECT_TRUE(ShowsBackground(
            shot, ExpectedBackground(GetModuleHandleA(nullptr), IDP_BG_START), hDlg));
        EXPECT_TRUE(SameColour(kFrameGrey, shot.At(0, 0)));
        EXPECT_TRUE(SameColour(kFrameGrey, shot.At(701, 501)));
        EXPECT_TRUE(SameColour(kAccent, shot.At(282, 302)));  // install button, normal face
        EXPECT_TRUE(SameColour(kAccent, shot.At(418, 302)));
        RECT folder = ControlRect(hDlg, IDC_INSTALL_DIR);
        EXPECT_TRUE(SameColour(kWhite, shot.At(folder.right - 3, folder.top + 2)));
        EXPECT_TRUE(SameColour(kFolderText, shot.Darkest(folder), 6));
        RECT box = ControlRect(hDlg, IDC_AGREE);
        EXPECT_TRUE(SameColour(kPanel, shot.At(box.right - 2, box.top + 1)));
        EXPECT_GT(shot.Count({box.left, box.top, box.left + 24, box.bottom}, kAccent, 30), 100)
            << "the checked box";
        EXPECT_TRUE(
            SameColour(kBoxText, shot.Darkest({box.left + 28, box.top, box.right, box.bottom}), 6));
        RECT link = ControlRect(hDlg, IDC_AGREEMENT_LINK);
        EXPECT_TRUE(SameColour(kPanel, shot.At(link.left + 1, link.top + 1)));
        EXPECT_TRUE(SameColour(kLinkText, shot.Darkest(link), 6));
    });
}

TEST_F(InstallerDialog, InstallFolderTextIsDarkGreyOnOneWhiteBrush)
{
    TestDlg dlg;
    RunDialog(dlg, [&](HWND hDlg, const UiThread&) {
        HDC hDC = CreateCompatibleDC(nullptr);
        HBRUSH first = nullptr;
        // A read-only edit asks with WM_CTLCOLORSTATIC, an editable one with WM_CTLCOLOREDIT.
        for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC}) {
            SetTextColor(hDC, RGB(1, 2, 3));
            SetBkColor(hDC, RGB(4, 5, 6));
            auto hBrush = reinterpret_cast<HBRUSH>(
                SendMessageA(hDlg, message, reinterpret_cast<WPARAM>(hDC),
                             reinterpret_cast<LPARAM>(Item(hDlg, IDC_INSTALL_DIR))));
            EXPECT_EQ(kFolderText, GetTextColor(hDC));
            EXPECT_EQ(kWhite, GetBkColor(hDC));
            LOGBRUSH lb{};
            ASSERT_EQ(static_cast<int>(sizeof lb), GetObjectA(hBrush, sizeof lb, &lb));
            EXPECT_EQ(static_cast<UINT>(BS_SOLID), lb.lbStyle);
            EXPECT_EQ(kWhite, lb.lbColor);
            if (!first) first = hBrush;
            EXPECT_EQ(first, hBrush) << "one brush for every call";
        }
        // Other controls keep the default colours.
        SetTextColor(hDC, RGB(1, 2, 3));
        SendMessageA(hDlg, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hDC),
                     reinterpret_cast<LPARAM>(Item(hDlg, IDC_BROWSE)));
        EXPECT_NE(kFolderText, GetTextColor(hDC));
        DeleteDC(hDC);

        // Typing does not change the folder.
        SetForegroundWindow(hDlg);
        Click(Item(hDlg, IDC_INSTALL_DIR));
        for (char c : std::string("xyz")) {
            INPUT key[2]{};
            key[0].type = key[1].type = INPUT_KEYBOARD;
            key[0].ki.wVk = key[1].ki.wVk = static_cast<WORD>(VkKeyScanA(c) & 0xFF);
            key[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, key, sizeof(INPUT));
        }
        Sleep(200);
        EXPECT_EQ(kDefaultInstallDir, ItemText(hDlg, IDC_INSTALL_DIR));
    });
}

TEST_F(InstallerDialog, AgreementBoxDisablesAndEnablesTheInstallButton)
{
    TestDlg dlg;
    RunDialog(dlg, [&](HWND hDlg, const UiThread& ui) {
        HWND hInstall = Item(hDlg, IDC_INSTALL);
        auto checked = [&] {
            bool value = false;
            ui.Run([&] { value = dlg.AgreeChecked(); });
            return value;
        };
        auto installFace = [&] {
            Sleep(200);
            return CaptureClient(hDlg).At(282, 302);
        };
        ASSERT_TRUE(checked());

        Click(Item(hDlg, IDC_AGREE));
        EXPECT_FALSE(checked());
        EXPECT_FALSE(IsWindowEnabled(hInstall));
        EXPECT_TRUE(SameColour(kDisabledGrey, installFace()));
        // A click on the disabled button does nothing.
        Click(hInstall);
        Sleep(300);
        EXPECT_TRUE(IsWindowVisible(hInstall));
        EXPECT_FALSE(IsWindowVisible(Item(hDlg, IDC_PROGRESS)));

        Click(Item(hDlg, IDC_AGREE));
        EXPECT_TRUE(checked());
        EXPECT_TRUE(IsWindowEnabled(hInstall));
        EXPECT_TRUE(SameColour(kAccent, installFace()));
    });
}

TEST_F(InstallerDialog, SystemMenuEndsWithTheAboutEntryWhichDoesNothing)
{
    TestDlg dlg;
    RunDialog(dlg, [&](HWND hDlg, const UiThread&) {
        HMENU hMenu = GetSystemMenu(hDlg, FALSE);
        ASSERT_NE(nullptr, hMenu);
        const int count = GetMenuItemCount(hMenu);
        ASSERT_GE(count, 2);
        MENUITEMINFOA separator{};
        separator.cbSize = sizeof separator;
        separator.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(hMenu, count - 2, TRUE, &separator);
        EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
        char text[64] = {};
        GetMenuStringA(hMenu, count - 1, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ("关于 Installer(&A)...", text);
        EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), GetMenuItemID(hMenu, count - 1));

        SendMessageA(hDlg, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        Sleep(200);
        EXPECT_TRUE(IsWindowVisible(hDlg));
        EXPECT_EQ(nullptr, FindFolderPicker(hDlg)) << "no window opened";
    });
}

TEST_F(InstallerDialog, MinimisedItShowsItsIconAndRestoredItsBackground)
{
    TestDlg dlg;
    RunDialog(dlg, [&](HWND hDlg, const UiThread& ui) {
        HICON hIcon = nullptr;
        ui.Run([&] { hIcon = dlg.Icon(); });
        ASSERT_NE(nullptr, hIcon);
        EXPECT_EQ(reinterpret_cast<LRESULT>(hIcon), SendMessageA(hDlg, WM_QUERYDRAGICON, 0, 0));
        EXPECT_EQ(reinterpret_cast<LRESULT>(hIcon), SendMessageA(hDlg, WM_GETICON, ICON_BIG, 0));
        EXPECT_EQ(reinterpret_cast<LRESULT>(hIcon), SendMessageA(hDlg, WM_GETICON, ICON_SMALL, 0));

        ShowWindow(hDlg, SW_MINIMIZE);
        EXPECT_TRUE(WaitFor([&] { return IsIconic(hDlg) != FALSE; }));
        ui.Run([&] { ::UpdateWindow(hDlg); });  // paints the minimised window
        ShowWindow(hDlg, SW_RESTORE);
        EXPECT_TRUE(WaitFor([&] { return !IsIconic(hDlg); }));
        Sleep(300);
        EXPECT_TRUE(ShowsBackground(CaptureClient(hDlg),
                                    ExpectedBackground(GetModuleHandleA(nullptr), IDP_BG_START),
                                    hDlg));
    });
}

// ---- browse ---------------------------------------------------------------------------------

TEST_F(InstallerDialog, BrowsePutsTheProductFolderIntoTheChosenFolder)
{
    testfs::TempFolder temp;
    // The last character's trail byte is 0x5C, a backslash when taken alone.
    const std::string trailBackslash = temp / "数据淺";
    ASSERT_EQ('\\', trailBackslash.back());
    ASSERT_TRUE(CreateDirectoryA(trailBackslash.c_str(), nullptr));
    const std::string plain = temp / "安装 目录";
    ASSERT_TRUE(CreateDirectoryA(plain.c_str(), nullptr));

    TestDlg dlg;
    RunDialog(dlg, [&](HWND hDlg, const UiThread& ui) {
        struct Case {
            const char* what;
            std::string folder;  // empty: cancel
            std::string expected;
        };
        const Case cases[] = {
            {"drive root", "C:\\", "C:\\德拉沃归档助手\\"},
            {"cancel keeps the text", "", "C:\\德拉沃归档助手\\"},
            {"folder with a blank", plain, plain + "\\德拉沃归档助手\\"},
            {"second choice replaces the first", trailBackslash,
             trailBackslash + "\\德拉沃归档助手\\"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            ASSERT_TRUE(ChooseFolder(hDlg, c.folder));
            EXPECT_EQ(c.expected, ItemText(hDlg, IDC_INSTALL_DIR));
        }
        // The session takes the folder over only when the download has succeeded.
        std::string installDir;
        ui.Run([&] { installDir = dlg.InstallDir(); });
        EXPECT_EQ(kDefaultInstallDir, installDir);
    });
}

TEST(InstallDirForChosenFolder, AppendsTheProductFolderOnce)
{
    const struct {
        const char* chosen;
        const char* expected;
    } cases[] = {
        {"C:\\", "C:\\德拉沃归档助手\\"},
        {"D:\\Programme", "D:\\Programme\\德拉沃归档助手\\"},
        {"D:\\数据淺", "D:\\数据淺\\德拉沃归档助手\\"},  // trail byte 0x5C
        {"\\\\server\\share\\", "\\\\server\\share\\德拉沃归档助手\\"},
        {"", "\\德拉沃归档助手\\"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.expected, InstallDirForChosenFolder(c.chosen)) << c.chosen;
}

// ---- the installation -----------------------------------------------------------------------

TEST_F(InstallerDialog, WithoutAnAnswerFromTheServiceTheAddressStaysEmpty)
{
    standin::Reply failure;
    failure.status = 500;
    failure.body = "<html><body>500 Internal Server Error</body></html>";
    standin::SetReply("/dravoServer/config/getAppConfig", failure);
    TestDlg dlg;
    RunDialog(dlg, [&](HWND hDlg, const UiThread& ui) {
        std::string url = "not read";
        ui.Run([&] { url = dlg.DownloadUrl(); });
        EXPECT_EQ("", url);
        EXPECT_TRUE(IsWindowEnabled(Item(hDlg, IDC_INSTALL)));
    });
}

// The address the service hands out has blanks around it and leads to a 404: the dialog trims
// it, the first attempt fails, the fallback address serves the setup program, and the setup
// program installs into the folder chosen with the browse button.
TEST_F(InstallerDialog, InstallShowsTheProgressScreenAndFinishShowsTheFinishedScreen)
{
    testfs::TempFolder temp;
    const std::string target = temp / "目标 文件夹";
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
    const std::string installDir = target + "\\德拉沃归档助手\\";
    const std::string missingUrl = standin::Url("/download/404/dravo_com_installer.exe");
    // JSON escapes: a tab before, a blank, CR and LF after.
    standin::HandOutDownloadUrl(" \\t" + missingUrl + " \\r\\n");

    TestDlg dlg;
    RunDialog(dlg, [&](HWND hDlg, const UiThread& ui) {
        std::string url;
        ui.Run([&] { url = dlg.DownloadUrl(); });
        EXPECT_EQ(missingUrl, url);
        ASSERT_TRUE(ChooseFolder(hDlg, target));
        ASSERT_EQ(installDir, ItemText(hDlg, IDC_INSTALL_DIR));

        Click(Item(hDlg, IDC_INSTALL));
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(Item(hDlg, IDC_PROGRESS)) != FALSE; }));
        EXPECT_EQ(std::set<int>{IDC_PROGRESS}, ShownControls(hDlg)) << "only the bar";
        Sleep(100);
        EXPECT_TRUE(ShowsBackground(CaptureClient(hDlg),
                                    ExpectedBackground(GetModuleHandleA(nullptr), IDP_BG_PROGRESS),
                                    hDlg));
        EXPECT_FALSE(GetWindowLongA(hDlg, GWL_EXSTYLE) & WS_EX_TOPMOST);

        // The download fills the first half, the setup the second; then the finished screen.
        ASSERT_TRUE(
            WaitFor([&] { return IsWindowVisible(Item(hDlg, IDC_LAUNCH)) != FALSE; }, 60000));
        Sleep(200);
        EXPECT_EQ((std::set<int>{IDC_LAUNCH, IDC_CLOSE}), ShownControls(hDlg));
        EXPECT_EQ(100, BarPos(hDlg));
        EXPECT_TRUE(GetWindowLongA(hDlg, GWL_EXSTYLE) & WS_EX_TOPMOST);
        Shot shot = CaptureClient(hDlg);
        EXPECT_TRUE(ShowsBackground(
            shot, ExpectedBackground(GetModuleHandleA(nullptr), IDP_BG_FINISHED), hDlg));
        EXPECT_TRUE(SameColour(kAccent, shot.At(282, 342)));  // launch button, normal face

        std::string sessionDir, progressFile;
        ui.Run([&] {
            sessionDir = dlg.InstallDir();
            progressFile = dlg.ProgressFile();
        });
        EXPECT_EQ(installDir, sessionDir) << "the folder text when the download succeeded";
        EXPECT_FALSE(progressFile.empty());
        EXPECT_FALSE(testfs::FileExists(progressFile)) << "the progress file is deleted";
        EXPECT_TRUE(testfs::FileExists(installDir + "vexaDesk.exe")) << "the setup ran";
        ui.Run([&] { url = dlg.DownloadUrl(); });
        EXPECT_EQ(FallbackDownloadUrl(), url);
        std::vector<std::string> downloads;
        for (const standin::Request& r : standin::Requests())
            if (r.method == "GET") downloads.push_back(r.path);
        EXPECT_EQ((std::vector<std::string>{"/download/404/dravo_com_installer.exe",
                                            "/dravo_com_install.exe"}),
                  downloads);
    });
}

// Esc (or Enter) ends the modal dialog while a download runs: the worker goes on without the
// dialog, whose memory is overwritten here as soon as it is destroyed, and finishes its file.
TEST_F(InstallerDialog, EndingTheDialogDuringADownloadLeavesTheWorkerSafe)
{
    standin::HandOutDownloadUrl(standin::Url("/download/large/dravo_com_installer.exe"));
    const std::string setupFile = SetupFilePath(GetDownloadDir());
    DeleteFileA(setupFile.c_str());

    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        SCOPED_TRACE(key == VK_ESCAPE ? "Esc" : "Enter");
        alignas(TestDlg) static unsigned char storage[sizeof(TestDlg)];
        auto* dlg = new (storage) TestDlg;
        HWND window = nullptr;
        INT_PTR result = RunDialog(*dlg, [&](HWND hDlg, const UiThread&) {
            window = hDlg;
            Click(Item(hDlg, IDC_INSTALL));
            ASSERT_TRUE(WaitFor([&] { return BarPos(hDlg) >= 2; }, 30000)) << "the download runs";
            // The dialog manager's own key handling, as a keyboard user gives it.
            SetForegroundWindow(hDlg);
            INPUT press[2]{};
            press[0].type = press[1].type = INPUT_KEYBOARD;
            press[0].ki.wVk = press[1].ki.wVk = static_cast<WORD>(key);
            press[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, press, sizeof(INPUT));
            EXPECT_TRUE(WaitFor([&] { return !IsWindow(hDlg); })) << "the key ends the dialog";
        });
        EXPECT_EQ(key == VK_ESCAPE ? IDCANCEL : IDOK, result);
        EXPECT_FALSE(IsWindow(window));
        dlg->~TestDlg();
        memset(storage, 0xDD, sizeof storage);

        // The worker completes the download into the staging folder by itself.
        EXPECT_TRUE(WaitFor(
            [&] {
                WIN32_FILE_ATTRIBUTE_DATA data{};
                return GetFileAttributesExA(setupFile.c_str(), GetFileExInfoStandard, &data) &&
                       data.nFileSizeLow == 200u * 1024 * 1024 + 4321;
            },
            120000))
            << "the worker finished its download";
        DeleteFileA(setupFile.c_str());
    }
}

}  // namespace
