#include "Installer/InstallerDlg.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>

#include "BuildConfig.h"
#include "Installer/res/resource.h"
#include "graphics/Dpi.h"
#include "net/Downloader.h"
#include "net/RemoteConfig.h"

// The platform's results are not looked at in this file (window styles, positions, fonts,
// shell calls): a step that fails leaves the dialog as it was, and nothing is shown to the user.

const char kDefaultInstallDir[] = "C:\\Program Files\\德拉沃归档助手\\";

namespace {

const char kProductFolder[] = "德拉沃归档助手\\";
const char kProductExe[] = "vexaDesk.exe";
const UINT_PTR kPollTimerId = 1;
const UINT kPollPeriodMs = 1000;

const COLORREF kFolderTextColour = RGB(88, 88, 88);
const COLORREF kFolderBackColour = RGB(255, 255, 255);
const COLORREF kBarColour = RGB(76, 157, 254);
const COLORREF kBarTrackColour = RGB(230, 230, 230);
const COLORREF kPanelColour = RGB(230, 246, 255);

// Which control shows on which screen; every control not named here keeps its state.
struct ScreenRow {
    int nID;
    bool bStart, bProgress, bFinished;
};

// clang-format off
const ScreenRow kScreenRows[] = {
    //                      start  progress finished
    {IDC_INSTALL,           true,  false,   false},
    {IDC_PROGRESS,          false, true,    false},
    {IDC_PATH_FIELD,        false, false,   false},
    {IDC_CLOSE,             true,  false,   true},
    {IDC_AGREEMENT_LINK,    true,  false,   false},
    {IDC_AGREE,             true,  false,   false},
    {IDC_BROWSE,            true,  false,   false},
    {IDC_INSTALL_DIR,       true,  false,   false},
    {IDC_LAUNCH,            false, false,   true},
};
// clang-format on

UINT ScreenBackground(InstallScreen screen)
{
    switch (screen) {
        case InstallScreen::Progress:
            return IDP_BG_PROGRESS;
        case InstallScreen::Finished:
            return IDP_BG_FINISHED;
        case InstallScreen::Start:
            break;
    }
    return IDP_BG_START;
}

bool ShownOn(const ScreenRow& row, InstallScreen screen)
{
    switch (screen) {
        case InstallScreen::Progress:
            return row.bProgress;
        case InstallScreen::Finished:
            return row.bFinished;
        case InstallScreen::Start:
            break;
    }
    return row.bStart;
}

// Turns a push button into an owner-drawn one of the size of its bitmaps, at (x, y).
void PlaceBitmapButton(CWnd& button, int x, int y, int cx, int cy)
{
    button.ModifyStyle(0, BS_OWNERDRAW, 0);
    button.SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    button.MoveWindow(x, y, cx, cy, TRUE);
}

// How many pixels the agreement box lacks to show its whole text in pFont at nWidth: the box
// draws its text 28 pixels from its left edge (the 24-pixel box and a 4-pixel gap).
int BoxTextOverflow(CWnd& box, CFont* pFont, int nWidth)
{
    CString strText;
    box.GetWindowText(strText);
    CClientDC dc(&box);
    CAutoSelect font(dc.GetSafeHdc(), pFont ? pFont->m_hObject : nullptr);
    const int nNeeded = 28 + dc.GetTextExtent(strText).cx;
    return nNeeded > nWidth ? nNeeded - nWidth : 0;
}

}  // namespace

std::string AgreementPageUrl()
{
    return std::string("https://") + INSTALLER_WEB_HOST + "/end-user-agreement/";
}

CString InstallDirForChosenFolder(const CString& strFolder)
{
    // Walks characters, not bytes: the trail byte of a double-byte character can be 0x5C.
    const bool bEndsWithBackslash =
        !strFolder.IsEmpty() && strFolder.ReverseFind('\\') == strFolder.GetLength() - 1;
    return bEndsWithBackslash ? strFolder + kProductFolder : strFolder + "\\" + kProductFolder;
}

BEGIN_MESSAGE_MAP(CInstallerDlg, CMyDialogEx)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_CTLCOLOR()
    ON_WM_NCHITTEST()
    ON_BN_CLICKED(IDC_LAUNCH, &CInstallerDlg::OnBnClickedLaunch)
    ON_BN_CLICKED(IDC_CLOSE, &CInstallerDlg::OnClose)
    ON_BN_CLICKED(IDC_INSTALL, &CInstallerDlg::OnBnClickedInstall)
    ON_BN_CLICKED(IDC_BROWSE, &CInstallerDlg::OnBnClickedBrowse)
    ON_MESSAGE(WM_DOWNLOAD_PROGRESS, &CInstallerDlg::OnDownloadProgress)
    ON_COMMAND(CImageCheckBox::kCommandId, &CInstallerDlg::OnAgreeChanged)
    ON_MESSAGE(WM_DOWNLOAD_FINISHED, &CInstallerDlg::OnDownloadFinished)
    ON_BN_CLICKED(IDC_AGREEMENT_LINK, &CInstallerDlg::OnBnClickedAgreement)
    ON_WM_TIMER()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CInstallerDlg::CInstallerDlg(CWnd* pParent)
    : CMyDialogEx(IDD_INSTALLER, pParent), m_hIcon(nullptr), m_session(*this)
{
    m_hIcon = AfxGetApp()->LoadIcon(IDI_APP);
}

CInstallerDlg::~CInstallerDlg() = default;

// The request the application started at its very start (StartDownloadUrlRequest), so that the
// exchange ran while the window was being made; without one, the request is made here.
int CInstallerDlg::FetchDownloadUrl(std::string& url) { return ::FinishDownloadUrlRequest(url); }

void CInstallerDlg::DoDataExchange(CDataExchange* pDX)
{
    CMyDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PATH_FIELD, m_editBrowse);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_INSTALL, m_btnInstall);
    DDX_Control(pDX, IDC_LAUNCH, m_btnLaunch);
    DDX_Control(pDX, IDC_AGREEMENT_LINK, m_btnAgreement);
    DDX_Control(pDX, IDC_CLOSE, m_btnExit);
    DDX_Control(pDX, IDC_INSTALL_DIR, m_editPath);
    DDX_Control(pDX, IDC_BROWSE, m_btnBrowse);
}

BOOL CInstallerDlg::OnInitDialog()
{
    // Borderless 702 x 502 frame, invisible caption buttons.
    CMyDialogEx::OnInitDialog();

    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR, 0, nullptr);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    LoadBackground(AfxGetResourceHandle(), ScreenBackground(InstallScreen::Start));
    SetResizable(false);

    GetDlgItem(IDC_LAUNCH)->ShowWindow(SW_HIDE);

    m_btnInstall.LoadBitmaps(IDB_INSTALL_NORMAL, IDB_INSTALL_HOVER, IDB_INSTALL_PRESSED,
                             IDB_INSTALL_DISABLED);
    m_btnExit.LoadBitmaps(IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED, IDB_CLOSE_PRESSED);
    m_btnLaunch.LoadBitmaps(IDB_LAUNCH_NORMAL, IDB_LAUNCH_HOVER, IDB_LAUNCH_PRESSED,
                            IDB_LAUNCH_PRESSED);
    m_btnBrowse.LoadBitmaps(IDB_BROWSE_NORMAL, IDB_BROWSE_HOVER, IDB_BROWSE_PRESSED,
                            IDB_BROWSE_PRESSED);

    PlaceBitmapButton(m_btnBrowse, 520, 446, 32, 32);
    PlaceBitmapButton(m_btnExit, 675, 5, 25, 24);
    PlaceBitmapButton(m_btnInstall, 270, 280, 160, 45);
    PlaceBitmapButton(m_btnLaunch, 270, 320, 160, 45);

    m_progress.SetColors(kBarColour, kBarTrackColour, 0);
    m_progress.SetBorder(TRUE, kPanelColour);
    m_progress.SetRange(0, 100);
    m_progress.ShowWindow(SW_HIDE);

    // From here on the downloader's messages reach this dialog.
    set_notify_hwnd(m_hWnd);

    m_progress.SetWindowPos(nullptr, 0, 0, 550, 10, SWP_NOMOVE | SWP_NOZORDER);

    m_editPath.ModifyStyle(WS_BORDER, 0, 0);
    m_editPath.SetReadOnly(TRUE);
    m_editPath.SetWindowPos(nullptr, 0, 0, 0, 0,
                            SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);

    const DpiBand& band = GetDpiBand(GetScreenDpi());

    // The fonts handed to controls are never deleted: Detach leaves their handles to the
    // controls for the rest of the process.
    CFont folderFont;
    folderFont.CreatePointFont(band.nPathFontTenths, kDpiFontFace);
    m_editPath.SetFont(&folderFont, TRUE);
    folderFont.Detach();

    m_editPath.MoveWindow(220, 452, 270, 25, TRUE);
    m_progress.MoveWindow(43, 445, 550, 10, TRUE);

    m_editPath.SetWindowText(kDefaultInstallDir);
    CString strInstallDir;
    m_editPath.GetWindowText(strInstallDir);
    m_session.m_strInstallDir = strInstallDir.str();

    CFont pathFieldFont;
    pathFieldFont.CreatePointFont(band.nPathFontTenths, kDpiFontFace);
    m_editBrowse.SetFont(&pathFieldFont, TRUE);
    pathFieldFont.Detach();

    m_editBrowse.ShowWindow(SW_HIDE);
    m_editBrowse.ModifyStyleEx(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE, 0, SWP_FRAMECHANGED);
    m_editBrowse.ModifyStyle(0, WS_BORDER, 0);
    m_editBrowse.MoveWindow(165, 402, 350, 20, TRUE);
    SetWindowHeight(&m_editBrowse, 20);
    m_editBrowse.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    m_chkAgree.SubclassDlgItem(IDC_AGREE, this);
    m_chkAgree.LoadBitmaps(IDB_CHECK_UNCHECKED, IDB_CHECK_CHECKED);
    m_chkAgree.ModifyStyle(0, BS_OWNERDRAW, 0);
    m_chkAgree.SetCheck(1);  // the owner-drawn box keeps its own state, which starts checked
    m_chkAgree.MoveWindow(215, 340, band.nCheckBoxWidth, 25, TRUE);

    // One font for the box and the link, kept for the life of the process.
    CFont* pScaledFont = CreateScaledFont(band.nScaledFontPoints, kDpiFontFace, FALSE);
    m_chkAgree.SetFont(pScaledFont, TRUE);
    m_btnAgreement.SetFont(pScaledFont, TRUE);

    // In some bands the box is too narrow for its sentence in this font (at 96 DPI its last
    // character would be cut off): the box then grows to fit it and the link moves along, so
    // that the sentence and the link read on as one line.
    const int nOverflow = BoxTextOverflow(m_chkAgree, pScaledFont, band.nCheckBoxWidth);
    if (nOverflow > 0) m_chkAgree.MoveWindow(215, 340, band.nCheckBoxWidth + nOverflow, 25, TRUE);

    m_btnAgreement.ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    m_btnAgreement.ModifyStyle(0, BS_FLAT | BS_OWNERDRAW, 0);
    m_btnAgreement.MoveWindow(band.nLinkLeft + nOverflow, 336, 110, 30, TRUE);

    // Blocks until the exchange ends; last, so that the request the application started at its
    // start runs while the pictures and fonts above are loaded. The window shows only after
    // this. Without an answer the address stays empty and the first attempt falls back to the
    // fixed address.
    FetchDownloadUrl(m_session.m_strDownloadUrl);
    if (!m_session.m_strDownloadUrl.empty())
        m_session.m_strDownloadUrl = Trim(m_session.m_strDownloadUrl);

    return TRUE;  // the system gives the focus to the first control that takes it
}

// ---- screens ---------------------------------------------------------------------------------

void CInstallerDlg::ShowScreen(InstallScreen screen)
{
    ReleaseBackground();
    LoadBackground(AfxGetResourceHandle(), ScreenBackground(screen));
    for (const ScreenRow& row : kScreenRows) {
        if (CWnd* pControl = GetDlgItem(row.nID))
            pControl->ShowWindow(ShownOn(row, screen) ? SW_SHOWNORMAL : SW_HIDE);
    }
    Invalidate(TRUE);
    UpdateWindow();
}

// ---- the session's view ----------------------------------------------------------------------

int CInstallerDlg::GetBarPos() { return m_progress.GetPos(); }

void CInstallerDlg::SetBarPos(int pos) { m_progress.SetPos(pos); }

void CInstallerDlg::RepaintBar()
{
    m_progress.Invalidate(TRUE);
    m_progress.UpdateWindow();
}

void CInstallerDlg::SetPollTimer(bool running)
{
    if (running)
        SetTimer(kPollTimerId, kPollPeriodMs, nullptr);
    else
        KillTimer(kPollTimerId);
}

std::string CInstallerDlg::GetInstallFolderText()
{
    CString strText;
    m_editPath.GetWindowText(strText);
    return strText.str();
}

void CInstallerDlg::SetInstallEnabled(bool enabled)
{
    m_btnInstall.SetEnabled(enabled ? TRUE : FALSE);
}

bool CInstallerDlg::IsAgreeChecked() { return m_chkAgree.IsChecked(); }

void CInstallerDlg::MakeTopmost()
{
    BringWindowToTop();
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// ---- handlers --------------------------------------------------------------------------------

void CInstallerDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    // The about entry has no dialog behind it.
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) return;
    CMyDialogEx::OnSysCommand(nID, lParam);
}

void CInstallerDlg::OnPaint()
{
    if (!IsIconic()) {
        CMyDialogEx::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CInstallerDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

HBRUSH CInstallerDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hbr = CMyDialogEx::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_INSTALL_DIR) {
        // One brush for every call, made on the first and released when the process ends.
        static CBrush s_whiteBrush(kFolderBackColour);
        pDC->SetTextColor(kFolderTextColour);
        pDC->SetBkColor(kFolderBackColour);
        return static_cast<HBRUSH>(s_whiteBrush);
    }
    return hbr;
}

void CInstallerDlg::OnBnClickedLaunch()
{
    CString strProduct = CString(m_session.m_strInstallDir) + kProductExe;
    CString strParameters;
    // Quoted, so that a folder with blanks reaches the product as one argument.
    strParameters.Format("\"%s\"", strProduct.GetString());

    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.lpVerb = "open";
    info.lpFile = "explorer.exe";
    info.lpParameters = strParameters;
    info.nShow = SW_SHOWNORMAL;
    ::ShellExecuteExA(&info);

    OnClose();
}

void CInstallerDlg::OnClose()
{
    // Ends the process at once, whatever runs: a download is abandoned, a setup program
    // already started goes on by itself, the staging folder stays.
    exit(0);
}

void CInstallerDlg::OnBnClickedInstall() { m_session.OnBnClickedInstall(); }

void CInstallerDlg::OnBnClickedBrowse()
{
    BROWSEINFOA info{};
    // Owned by the installer, which stays disabled while the user chooses.
    info.hwndOwner = m_hWnd;
    info.lpszTitle = "请选择文件夹";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST pItems = ::SHBrowseForFolderA(&info);
    if (!pItems) return;  // cancelled

    char path[MAX_PATH] = {};
    // A choice without a file-system path leaves the text as it is.
    if (::SHGetPathFromIDListA(pItems, path))
        m_editPath.SetWindowText(InstallDirForChosenFolder(path));
    ::CoTaskMemFree(pItems);
}

LRESULT CInstallerDlg::OnDownloadProgress(WPARAM wParam, LPARAM)
{
    m_session.OnDownloadProgress(static_cast<int>(wParam));
    return 0;
}

void CInstallerDlg::OnAgreeChanged() { m_session.OnAgreeChanged(); }

LRESULT CInstallerDlg::OnDownloadFinished(WPARAM wParam, LPARAM)
{
    m_session.OnDownloadFinished(static_cast<int>(wParam));
    return 0;
}

void CInstallerDlg::OnBnClickedAgreement()
{
    ::ShellExecuteA(nullptr, "open", AgreementPageUrl().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CInstallerDlg::OnTimer(UINT_PTR nIDEvent)
{
    m_session.OnTimer(static_cast<unsigned>(nIDEvent));
    // After the session's tick, and for every other timer, the default handling.
    CMyDialogEx::OnTimer(nIDEvent);
}
