// The application object and the start-up services, in this process and through a real
// program on the framework's entry point (framework_app_probe.exe).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "framework/Afx.h"
#include "tests/framework/FrameworkTestIds.h"

namespace {

class CTestApp : public CWinApp {};

TEST(WinApp, IsTheApplicationWhileItLivesAndNamedAfterTheExecutable)
{
    EXPECT_EQ(nullptr, AfxGetApp());
    {
        CTestApp app;
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_STREQ("framework_test", app.m_pszAppName);
        EXPECT_EQ(::GetModuleHandleA(nullptr), AfxGetResourceHandle());
        EXPECT_EQ(::GetModuleHandleA(nullptr), AfxGetInstanceHandle());
    }
    EXPECT_EQ(nullptr, AfxGetApp());
}

TEST(WinApp, LoadsIconsFromTheResourceModule)
{
    CTestApp app;
    HICON icon = app.LoadIcon(IDI_APP);
    ASSERT_NE(nullptr, icon);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP mask{};
    ::GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(::GetSystemMetrics(SM_CXICON), mask.bmWidth);
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    EXPECT_EQ(nullptr, app.LoadIcon(9999));
}

TEST(WinApp, RegistryKeyIsOnlyRemembered)
{
    const char key[] = "应用程序向导生成的本地应用程序";
    std::string path = std::string("Software\\") + key;
    CTestApp app;
    app.SetRegistryKey(key);
    EXPECT_STREQ(key, app.m_pszRegistryKey);
    HKEY opened = nullptr;
    EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &opened));
}

TEST(WinApp, RegistersForRestartOnlyWhenAsked)
{
    CTestApp plain;
    EXPECT_TRUE(plain.InitInstance());
    EXPECT_FALSE(plain.IsRegisteredForRestart());
    CTestApp restartable;
    restartable.m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
    EXPECT_TRUE(restartable.InitInstance());
    EXPECT_TRUE(restartable.IsRegisteredForRestart());
}

TEST(StartUpServices, VisualManagerIsMadeFromTheNamedClassAndCleanedUp)
{
    CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerWindows));
    ASSERT_TRUE(CMFCVisualManager::HasInstance());
    EXPECT_EQ(RUNTIME_CLASS(CMFCVisualManagerWindows),
              CMFCVisualManager::GetInstance()->GetRuntimeClass());
    // A class that is no visual manager is refused.
    CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CWnd));
    EXPECT_TRUE(CMFCVisualManager::GetInstance()->IsKindOf(RUNTIME_CLASS(CMFCVisualManagerWindows)));
    ControlBarCleanUp();
    EXPECT_FALSE(CMFCVisualManager::HasInstance());
    ControlBarCleanUp();
}

TEST(StartUpServices, ShellManagerInitialisesComForItsLifetime)
{
    EXPECT_EQ(nullptr, afxShellManager);
    {
        CShellManager shell;
        EXPECT_EQ(&shell, afxShellManager);
        // Already initialised as an apartment: a second initialisation says so.
        HRESULT again = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        EXPECT_EQ(S_FALSE, again);
        ::CoUninitialize();
    }
    EXPECT_EQ(nullptr, afxShellManager);
    HRESULT fresh = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(S_OK, fresh);
    if (SUCCEEDED(fresh)) ::CoUninitialize();
}

std::map<std::string, std::string> ReadReport(const std::string& path)
{
    std::map<std::string, std::string> values;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

TEST(ProgramEntry, RunsInitInstanceAndEndsWithExitInstance)
{
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir(self);
    dir.erase(dir.find_last_of('\\') + 1);
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string report = std::string(temp) + "app_probe_" +
                         std::to_string(::GetCurrentProcessId()) + ".txt";
    ::DeleteFileA(report.c_str());

    std::string commandLine = "\"" + dir + "framework_app_probe.exe\" " + report;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &process));
    DWORD waited = ::WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ASSERT_EQ(WAIT_OBJECT_0, waited);

    EXPECT_EQ(40u, exitCode);  // ExitInstance's result, 0 + 40 in the probe
    auto values = ReadReport(report);
    EXPECT_EQ("framework_app_probe", values["app"]);
    EXPECT_EQ("1", values["restart"]);
    EXPECT_EQ(std::to_string(IDCANCEL), values["modal"]);
    EXPECT_EQ("1", values["shell"]);
    EXPECT_EQ("1", values["windows_look"]);
    EXPECT_EQ("1", values["main_wnd_during"]);
    EXPECT_EQ("0", values["main_wnd_after"]);  // its window ended, and with it the main window
    EXPECT_EQ("0", values["visual_after_cleanup"]);
    ::DeleteFileA(report.c_str());
}

}  // namespace
