#include "Installer/InstallerApp.h"

#include <windows.h>

#include <commctrl.h>

#include "Installer/DpiAwareness.h"
#include "Installer/InstallerDlg.h"
#include "framework/GdiPlus.h"
#include "net/RemoteConfig.h"

// Start-up checks no result: a failed service leaves the installer running as well as it can,
// and nothing is shown to the user.

CInstallerApp theApp;

BEGIN_MESSAGE_MAP(CInstallerApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

// m_gdiplusToken is written only by GdiplusStartup in InitInstance.
CInstallerApp::CInstallerApp() : CWinApp(nullptr)
{
    m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
}

BOOL CInstallerApp::InitInstance()
{
    // The configuration service is asked first, on a thread of its own: the exchange runs
    // while the rest of start-up and the dialog are made, and the dialog waits for its answer
    // (CInstallerDlg::FetchDownloadUrl) before it shows.
    StartDownloadUrlRequest();

    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&icc);

    CWinApp::InitInstance();

    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr);

    SetDpiAwareness();
    AfxEnableControlContainer();

    CShellManager* pShellManager = new CShellManager;
    CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerWindows));
    SetRegistryKey("应用程序向导生成的本地应用程序");

    CInstallerDlg dlg;
    m_pMainWnd = &dlg;
    // Every way the dialog returns leads to the same clean-up; its close and launch commands
    // end the process without returning.
    dlg.DoModal();

    delete pShellManager;
    ControlBarCleanUp();
    return FALSE;  // the dialog object goes now, and with it m_pMainWnd
}
