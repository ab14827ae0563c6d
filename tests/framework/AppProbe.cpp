// A small windowed program on the framework, started by AppTest: it goes through the start-up
// the installer uses, runs a dialog that ends itself with Esc, and writes what it saw to the
// file named on its command line.
#include <windows.h>

#include <cstdio>

#include "framework/Afx.h"

namespace {

class CProbeDlg : public CDialog {
public:
    CProbeDlg() : CDialog(100) {}
    bool mainWnd = false;  // the application's main window while it runs

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        mainWnd = AfxGetApp()->m_pMainWnd == this;
        SetTimer(1, 20);
        return TRUE;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        KillTimer(nIDEvent);
        PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeDlg, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class CProbeApp : public CWinApp {
public:
    CProbeApp() { m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART; }

    BOOL InitInstance() override
    {
        CWinApp::InitInstance();
        AfxEnableControlContainer();
        auto* shell = new CShellManager;
        bool shellSet = afxShellManager == shell;
        CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerWindows));
        bool windowsLook = CMFCVisualManager::GetInstance()->IsKindOf(
            RUNTIME_CLASS(CMFCVisualManagerWindows));
        SetRegistryKey("应用程序向导生成的本地应用程序");

        INT_PTR result;
        bool mainWndSet;
        {
            CProbeDlg dlg;
            m_pMainWnd = &dlg;
            result = dlg.DoModal();
            mainWndSet = dlg.mainWnd;
        }
        delete shell;
        ControlBarCleanUp();

        FILE* report = fopen(m_lpCmdLine, "w");
        if (report) {
            fprintf(report, "app=%s\nrestart=%d\nmodal=%d\nshell=%d\nwindows_look=%d\n",
                    m_pszAppName, IsRegisteredForRestart() ? 1 : 0, static_cast<int>(result),
                    shellSet ? 1 : 0, windowsLook ? 1 : 0);
            fprintf(report, "main_wnd_during=%d\nmain_wnd_after=%d\nvisual_after_cleanup=%d\n",
                    mainWndSet ? 1 : 0, m_pMainWnd ? 1 : 0,
                    CMFCVisualManager::HasInstance() ? 1 : 0);
            fclose(report);
        }
        return FALSE;
    }

    int ExitInstance() override { return CWinApp::ExitInstance() + 40; }
};

CProbeApp theApp;

}  // namespace
