// The built build/bin/Installer.exe, driven from outside as a user drives it, on Xvfb against
// the vendor stand-in: its resources read back from the file, a whole installation through to
// the product handed to explorer.exe, and every way of ending it. With INSTALLER_SCREENSHOT_DIR
// set, the three screens are saved there as screen-start.png, screen-progress.png and
// screen-finished.png.
#include <windows.h>

#include <commctrl.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Installer/res/resource.h"
#include "tests/installer/InstallerTestSupport.h"
#include "tests/support/StandIn.h"
#include "tests/support/TempFolder.h"

using namespace installer_test;

namespace {

std::string InstallerPath() { return testfs::ProgramFolder() + "\\Installer.exe"; }

// The command line another process was started with, read from its process parameters;
// empty while they are not in place.
std::wstring CommandLineOf(HANDLE hProcess);

// One run of Installer.exe. The destructor ends a run the test left open, by its process id.
// With Watch::Children the run is watched as a debugger watches a program, so that every
// process it starts is seen with its command line, however briefly it lives.
class InstallerRun {
public:
    enum class Watch { None, Children };

    explicit InstallerRun(Watch watch = Watch::None, std::string program = InstallerPath())
        : m_program(std::move(program))
    {
        if (watch == Watch::None) {
            Start(0);
            return;
        }
        HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        // A debugger's events go to the thread that started the process.
        m_debugger = std::thread([this, started] {
            Start(DEBUG_PROCESS);
            SetEvent(started);
            if (m_started) DebugLoop();
        });
        WaitForSingleObject(started, INFINITE);
        CloseHandle(started);
    }
    ~InstallerRun()
    {
        if (m_started && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_pi.hProcess, 99);
            WaitForSingleObject(m_pi.hProcess, 10000);
        }
        if (m_debugger.joinable()) {
            {
                // What the installer started and left running (Wine's explorer window).
                std::lock_guard<std::mutex> lock(m_mutex);
                for (const Child& child : m_children)
                    if (!child.ended) TerminateProcess(child.hProcess, 0);
            }
            m_stop = true;
            m_debugger.join();
        }
        if (!m_started) return;
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }
    InstallerRun(const InstallerRun&) = delete;
    InstallerRun& operator=(const InstallerRun&) = delete;

    // The installer's visible dialog, once it shows (null when it does not within the time).
    HWND Window()
    {
        if (m_hWnd) return m_hWnd;
        WaitFor([&] { return m_started && (m_hWnd = Find()) != nullptr; }, 60000);
        if (m_hWnd) Sleep(300);  // its first paint
        return m_hWnd;
    }
    // The exit code, once the process has ended within the time; STILL_ACTIVE otherwise.
    DWORD ExitCode(DWORD timeoutMs = 15000)
    {
        DWORD code = STILL_ACTIVE;
        if (m_started && WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(m_pi.hProcess, &code);
        return code;
    }
    // The command lines of the processes the installer started so far (Watch::Children).
    std::vector<std::wstring> ChildCommandLines()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::wstring> lines;
        for (const Child& child : m_children) lines.push_back(child.commandLine);
        return lines;
    }

    // Whether every process the installer started has ended (Watch::Children).
    bool ChildrenEnded()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const Child& child : m_children)
            if (!child.ended) return false;
        return true;
    }

private:
    struct Child {
        DWORD pid;
        HANDLE hProcess;  // the debugging thread's, valid until the process has ended
        std::wstring commandLine;
        bool ended;
    };

    struct Search {
        DWORD pid;
        HWND found;
    };
    static BOOL CALLBACK Match(HWND h, LPARAM p)
    {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        char caption[16] = {};
        GetWindowTextA(h, caption, sizeof caption);
        if (pid == s->pid && IsWindowVisible(h) && strcmp(caption, "安装") == 0) {
            s->found = h;
            return FALSE;
        }
        return TRUE;
    }
    HWND Find() const
    {
        Search search{m_pi.dwProcessId, nullptr};
        EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    void Start(DWORD flags)
    {
        std::string line = "\"" + m_program + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        m_started = CreateProcessA(m_program.c_str(), &line[0], nullptr, nullptr, FALSE,
                                   flags, nullptr, nullptr, &si, &m_pi) != FALSE;
    }

    // Lets every process of the run go on as if no debugger were there and notes the command
    // line of each one the installer starts. Ends when every watched process has ended, or
    // when asked to stop (the system then ends what is left, as for any debugger).
    void DebugLoop()
    {
        std::set<DWORD> running{m_pi.dwProcessId};
        while (!running.empty()) {
            DEBUG_EVENT event{};
            if (!WaitForDebugEvent(&event, 100)) {
                if (m_stop) return;
                continue;
            }
            DWORD status = DBG_CONTINUE;
            std::lock_guard<std::mutex> lock(m_mutex);
            switch (event.dwDebugEventCode) {
                case CREATE_PROCESS_DEBUG_EVENT:
                    if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
                    running.insert(event.dwProcessId);
                    if (event.dwProcessId != m_pi.dwProcessId)
                        m_children.push_back(
                            {event.dwProcessId, event.u.CreateProcessInfo.hProcess, L"", false});
                    break;
                case LOAD_DLL_DEBUG_EVENT:
                    if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
                    break;
                case EXCEPTION_DEBUG_EVENT:
                    // The program's own exceptions go to its own handlers.
                    if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                        status = DBG_EXCEPTION_NOT_HANDLED;
                    break;
                case EXIT_PROCESS_DEBUG_EVENT:
                    running.erase(event.dwProcessId);
                    for (Child& child : m_children)
                        if (child.pid == event.dwProcessId) child.ended = true;
                    break;
                default:
                    break;
            }
            // A new process has its parameters in place by one of its first events.
            for (Child& child : m_children)
                if (child.pid == event.dwProcessId && !child.ended && child.commandLine.empty())
                    child.commandLine = CommandLineOf(child.hProcess);
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        }
    }

    std::string m_program;
    bool m_started = false;
    PROCESS_INFORMATION m_pi{};
    HWND m_hWnd = nullptr;
    std::thread m_debugger;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Child> m_children;
};

int BarPos(HWND hDlg)
{
    return static_cast<int>(SendMessageA(GetDlgItem(hDlg, IDC_PROGRESS), PBM_GETPOS, 0, 0));
}

void SaveScreenshot(HWND hDlg, const char* name)
{
    const std::string path = ScreenshotPath(name);
    if (path.empty()) return;
    MovePointerAway();
    Sleep(200);
    EXPECT_TRUE(CaptureClient(hDlg).SavePng(path)) << path;
}

std::wstring CommandLineOf(HANDLE hProcess)
{
    using QueryInformation = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(hProcess, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return L"";
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!ReadProcessMemory(hProcess, basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
        !ReadProcessMemory(hProcess, peb.ProcessParameters, &parameters, sizeof parameters,
                           nullptr))
        return L"";
    std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(hProcess, parameters.CommandLine.Buffer, &line[0],
                           parameters.CommandLine.Length, nullptr))
        return L"";
    return line;
}

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size())) -
        1);
    return wide;
}

class BuiltInstaller : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartGdiplus(); }
    void SetUp() override
    {
        standin::Reset();
        MovePointerAway();
    }
};

// ---- the file -----------------------------------------------------------------------------

class ExecutableFile {
public:
    ExecutableFile()
        : m_hModule(LoadLibraryExA(InstallerPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    ~ExecutableFile()
    {
        if (m_hModule) FreeLibrary(m_hModule);
    }
    HMODULE Module() const { return m_hModule; }
    std::string Bytes(LPCSTR type, UINT id) const
    {
        HRSRC res = FindResourceA(m_hModule, MAKEINTRESOURCEA(id), type);
        if (!res) return "";
        const char* data = static_cast<const char*>(LockResource(LoadResource(m_hModule, res)));
        return std::string(data, SizeofResource(m_hModule, res));
    }

private:
    HMODULE m_hModule;
};

template <typename T>
T At(const std::string& bytes, size_t offset)
{
    T value{};
    if (offset + sizeof value <= bytes.size()) memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

TEST_F(BuiltInstaller, IsA32BitWindowsProgramWithItsResources)
{
    const std::string file = testfs::ReadWholeFile(InstallerPath());
    ASSERT_GT(file.size(), 4096u);
    const auto pe = At<LONG>(file, 0x3C);
    const auto header = At<IMAGE_NT_HEADERS32>(file, pe);
    EXPECT_EQ(static_cast<DWORD>(IMAGE_NT_SIGNATURE), header.Signature);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, header.FileHeader.Machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, header.OptionalHeader.Magic);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, header.OptionalHeader.Subsystem);

    ExecutableFile exe;
    ASSERT_NE(nullptr, exe.Module());

    // Pictures: PNGs by their header, bitmaps by theirs.
    const struct {
        UINT id;
        LONG width, height;
    } pngs[] = {{IDP_BG_START, 700, 500}, {IDP_BG_PROGRESS, 700, 500}, {IDP_BG_FINISHED, 700, 500}};
    for (const auto& p : pngs) {
        const std::string png = exe.Bytes("png", p.id);
        ASSERT_GT(png.size(), 24u) << p.id;
        EXPECT_EQ("\x89PNG", png.substr(0, 4)) << p.id;
        EXPECT_EQ(p.width, static_cast<LONG>(_byteswap_ulong(At<DWORD>(png, 16)))) << p.id;
        EXPECT_EQ(p.height, static_cast<LONG>(_byteswap_ulong(At<DWORD>(png, 20)))) << p.id;
    }
    const struct {
        UINT first, last;
        LONG width, height;
        WORD bits;
    } bitmaps[] = {
        {157, 159, 25, 24, 24},  {160, 163, 160, 45, 24}, {167, 168, 24, 24, 32},
        {170, 170, 160, 45, 24}, {172, 172, 160, 45, 24}, {175, 175, 160, 45, 24},
        {179, 181, 32, 32, 24},
    };
    for (const auto& b : bitmaps) {
        for (UINT id = b.first; id <= b.last; ++id) {
            const auto info = At<BITMAPINFOHEADER>(exe.Bytes(RT_BITMAP, id), 0);
            EXPECT_EQ(b.width, info.biWidth) << id;
            EXPECT_EQ(b.height, info.biHeight) << id;
            EXPECT_EQ(b.bits, info.biBitCount) << id;
        }
    }

    // Icon group 128: 16, 32 and 48 pixels of 32 bits.
    const std::string group = exe.Bytes(RT_GROUP_ICON, IDI_APP);
    ASSERT_EQ(3, At<WORD>(group, 4));
    std::set<int> sizes;
    for (int i = 0; i < 3; ++i) {
        const size_t entry = 6 + i * 14;  // width, height, colours, reserved, planes, bits, ...
        sizes.insert(At<BYTE>(group, entry));
        EXPECT_EQ(At<BYTE>(group, entry), At<BYTE>(group, entry + 1));
        EXPECT_EQ(32, At<WORD>(group, entry + 6));
    }
    EXPECT_EQ((std::set<int>{16, 32, 48}), sizes);

    // Dialog 102 (extended template) with its nine controls and its initialisation data.
    const std::string dialog = exe.Bytes(RT_DIALOG, IDD_INSTALLER);
    EXPECT_EQ(1, At<WORD>(dialog, 0));
    EXPECT_EQ(0xFFFF, At<WORD>(dialog, 2));
    EXPECT_EQ(0x90CC0048u, At<DWORD>(dialog, 12));
    EXPECT_EQ(9, At<WORD>(dialog, 16));
    const std::string init = exe.Bytes(MAKEINTRESOURCEA(RT_DLGINIT_TYPE), IDD_INSTALLER);
    EXPECT_NE(std::string::npos, init.find("<MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>"));

    char about[64] = {};
    LoadStringA(exe.Module(), IDS_ABOUTBOX, about, sizeof about);
    EXPECT_STREQ("关于 Installer(&A)...", about);

    const std::string manifest = exe.Bytes(RT_MANIFEST, IDR_MANIFEST);
    EXPECT_NE(std::string::npos, manifest.find(R"(level="requireAdministrator")"));
    EXPECT_NE(std::string::npos, manifest.find(R"(uiAccess="false")"));
    EXPECT_NE(std::string::npos, manifest.find(">true</dpiAware>"));
    EXPECT_EQ(std::string::npos, manifest.find("Common-Controls"));

    // The version block as Explorer's properties page reads it.
    DWORD handle = 0;
    std::vector<char> version(GetFileVersionInfoSizeA(InstallerPath().c_str(), &handle));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoA(InstallerPath().c_str(), 0, static_cast<DWORD>(version.size()),
                                    version.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(version.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(MAKELONG(5, 2), fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(5, 2), fixed->dwProductVersionMS);
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(version.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &size));
    EXPECT_EQ(0x0804, translation[0]);
    EXPECT_EQ(936, translation[1]);
    const struct {
        const char* name;
        const char* value;
    } strings[] = {
        {"FileVersion", "2.5.0.0"},
        {"ProductVersion", "2.5.0.0"},
        {"FileDescription", "Installer"},
        {"InternalName", "Installer.exe"},
        {"OriginalFilename", "Installer.exe"},
        {"CompanyName", "德拉沃归档助手"},
        {"ProductName", "德拉沃归档助手"},
    };
    for (const auto& s : strings) {
        char* value = nullptr;
        const std::string key = std::string("\\StringFileInfo\\080403a8\\") + s.name;
        ASSERT_TRUE(
            VerQueryValueA(version.data(), key.c_str(), reinterpret_cast<void**>(&value), &size))
            << s.name;
        EXPECT_STREQ(s.value, value) << s.name;
    }
}

// ---- runs ---------------------------------------------------------------------------------

TEST_F(BuiltInstaller, StartsOnItsStartScreenAndTheCloseButtonEndsItWithZero)
{
    InstallerRun run;
    HWND hDlg = run.Window();
    ASSERT_NE(nullptr, hDlg);
    RECT window{};
    GetWindowRect(hDlg, &window);
    EXPECT_EQ(702, window.right - window.left);
    EXPECT_EQ(502, window.bottom - window.top);
    EXPECT_EQ((std::set<int>{IDC_INSTALL, IDC_CLOSE, IDC_BROWSE, IDC_INSTALL_DIR, IDC_AGREE,
                             IDC_AGREEMENT_LINK}),
              ShownControls(hDlg));
    ExecutableFile exe;
    EXPECT_TRUE(
        ShowsBackground(CaptureClient(hDlg), ExpectedBackground(exe.Module(), IDP_BG_START), hDlg));
    SaveScreenshot(hDlg, "screen-start.png");

    Click(GetDlgItem(hDlg, IDC_CLOSE));
    EXPECT_EQ(0u, run.ExitCode());
}

TEST_F(BuiltInstaller, InstallsAndHandsTheProductToExplorerInQuotes)
{
    testfs::TempFolder temp;
    const std::string installDir = temp / "德拉沃归档助手\\";
    // Inherited along the run: the setup stand-in takes its time, the product closes itself.
    SetEnvironmentVariableA("SETUP_STANDIN_STEP_MS", "30");
    SetEnvironmentVariableA("VEXADESK_CLOSE_AFTER_MS", "500");
    InstallerRun run(InstallerRun::Watch::Children);
    SetEnvironmentVariableA("SETUP_STANDIN_STEP_MS", nullptr);
    SetEnvironmentVariableA("VEXADESK_CLOSE_AFTER_MS", nullptr);
    HWND hDlg = run.Window();
    ASSERT_NE(nullptr, hDlg);
    // The folder the user would have picked (the text only refuses typing).
    SendMessageA(GetDlgItem(hDlg, IDC_INSTALL_DIR), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(installDir.c_str()));

    Click(GetDlgItem(hDlg, IDC_INSTALL));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(hDlg, IDC_PROGRESS)) != FALSE; }));
    EXPECT_EQ(std::set<int>{IDC_PROGRESS}, ShownControls(hDlg));
    ExecutableFile exe;
    Sleep(100);
    EXPECT_TRUE(ShowsBackground(CaptureClient(hDlg),
                                ExpectedBackground(exe.Module(), IDP_BG_PROGRESS), hDlg));
    // Half way through the setup.
    if (WaitFor([&] { return BarPos(hDlg) >= 70 || IsWindowVisible(GetDlgItem(hDlg, IDC_LAUNCH)); },
                60000) &&
        BarPos(hDlg) < 100)
        SaveScreenshot(hDlg, "screen-progress.png");

    ASSERT_TRUE(
        WaitFor([&] { return IsWindowVisible(GetDlgItem(hDlg, IDC_LAUNCH)) != FALSE; }, 60000));
    Sleep(300);
    EXPECT_EQ((std::set<int>{IDC_LAUNCH, IDC_CLOSE}), ShownControls(hDlg));
    EXPECT_TRUE(GetWindowLongA(hDlg, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(ShowsBackground(CaptureClient(hDlg),
                                ExpectedBackground(exe.Module(), IDP_BG_FINISHED), hDlg));
    SaveScreenshot(hDlg, "screen-finished.png");
    EXPECT_TRUE(testfs::FileExists(installDir + "vexaDesk.exe"));

    Click(GetDlgItem(hDlg, IDC_LAUNCH));
    EXPECT_EQ(0u, run.ExitCode());

    // explorer.exe got the product's path as one quoted argument, and opened the product.
    std::wstring line;
    EXPECT_TRUE(WaitFor([&] {
        for (const std::wstring& child : run.ChildCommandLines())
            if (child.find(L"explorer.exe") != std::wstring::npos) line = child;
        return !line.empty();
    })) << "explorer.exe was not started";
    const std::wstring quoted = Wide("\"" + installDir + "vexaDesk.exe\"");
    EXPECT_NE(std::wstring::npos, line.find(quoted))
        << "explorer's command line: " << line.size() << " characters";
    EXPECT_TRUE(WaitFor([&] {
        return testfs::ReadWholeFile(installDir + "vexaDesk.ran").find("started") != std::string::npos;
    })) << "the product did not start";
    EXPECT_TRUE(WaitFor([&] { return run.ChildrenEnded(); })) << "the product stays open";
}

// However it ends during a download, the process ends at once and without a fault: Esc and
// Enter end the modal dialog (start-up then cleans up while the worker still runs), the
// window's close request ends the process with exit code 0.
TEST_F(BuiltInstaller, EndingItDuringADownloadEndsTheProcessCleanly)
{
    standin::HandOutDownloadUrl(standin::Url("/download/large/dravo_com_installer.exe"));
    const struct {
        const char* what;
        UINT message;
        WPARAM wParam;
    } ends[] = {
        {"Esc", WM_COMMAND, IDCANCEL},
        {"Enter", WM_COMMAND, IDOK},
        {"close request", WM_CLOSE, 0},
    };
    for (const auto& end : ends) {
        SCOPED_TRACE(end.what);
        InstallerRun run;
        HWND hDlg = run.Window();
        ASSERT_NE(nullptr, hDlg);
        Click(GetDlgItem(hDlg, IDC_INSTALL));
        ASSERT_TRUE(WaitFor([&] { return BarPos(hDlg) >= 2; }, 30000)) << "the download runs";
        PostMessageA(hDlg, end.message, end.wParam, 0);
        EXPECT_EQ(0u, run.ExitCode(10000));
    }
}

// The installer runs elevated from the user's downloads folder: a DLL planted there under the
// name of a system DLL must not be loaded on any path through it. The DLLs that Installer.exe,
// libcurl and the framework load themselves are planted beside a copy of Installer.exe, and
// Wine looks in the program's folder first for each, as Windows does for DLLs that are not
// KnownDLLs. A whole installation (configuration request, pictures, download over HTTPS,
// setup) then loads none of them; the probe's search by name shows that each plant would have
// been found.
//
// Not planted: DLLs that Wine's own system DLLs load for themselves, through delay-imports or
// the imports of those, which under Wine search the program's folder whatever
// SetDefaultDllDirectories said (Windows honours it): crypt32 (secur32's) with bcrypt (crypt32's),
// windowscodecs (gdiplus's), shcore and version (shlwapi's and shell32's), uxtheme. Shcore has
// its own test with a program that loads nothing else; crypt32 and bcrypt are held by the
// import-table test and go through the same loading as the planted ones.
TEST_F(BuiltInstaller, LoadsNoDllPlantedBesideItThroughAWholeInstallation)
{
    const std::vector<std::string> dlls = {"comctl32", "gdiplus", "msimg32", "secur32"};
    const std::string plant = testfs::ProgramFolder() + "\\..\\planted\\planted.dll";
    testfs::TempFolder downloads;
    for (const std::string& dll : dlls)
        ASSERT_TRUE(CopyFileA(plant.c_str(), (downloads / (dll + ".dll")).c_str(), FALSE));
    const std::string tag = std::to_string(GetCurrentProcessId());
    const std::string installer = "Installer-" + tag + ".exe", probe = "dpi-probe-" + tag + ".exe";
    ASSERT_TRUE(CopyFileA(InstallerPath().c_str(), (downloads / installer).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((testfs::ProgramFolder() + "\\..\\planted\\dpi_probe.exe").c_str(),
                          (downloads / probe).c_str(), FALSE));
    DllLoadOrder installerOrder(installer, dlls, "native,builtin");
    DllLoadOrder probeOrder(probe, dlls, "native,builtin");
    const std::string marker = downloads / "planted-ran.txt";
    SetEnvironmentVariableA("PLANTED_DLL_MARKER", marker.c_str());
    const std::string installDir = downloads / "德拉沃归档助手\\";
    SetEnvironmentVariableA("SETUP_STANDIN_STEP_MS", "10");
    {
        InstallerRun run(InstallerRun::Watch::None, downloads / installer);
        SetEnvironmentVariableA("SETUP_STANDIN_STEP_MS", nullptr);
        HWND hDlg = run.Window();
        ASSERT_NE(nullptr, hDlg) << testfs::ReadWholeFile(marker);
        SendMessageA(GetDlgItem(hDlg, IDC_INSTALL_DIR), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(installDir.c_str()));
        Click(GetDlgItem(hDlg, IDC_INSTALL));
        ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(hDlg, IDC_LAUNCH)) != FALSE; },
                            60000));
        EXPECT_TRUE(testfs::FileExists(installDir + "vexaDesk.exe"));
        Click(GetDlgItem(hDlg, IDC_CLOSE));
        EXPECT_EQ(0u, run.ExitCode());
    }
    EXPECT_FALSE(testfs::FileExists(marker)) << testfs::ReadWholeFile(marker);

    for (const std::string& dll : dlls) {
        RunProgram(downloads / probe, ("by-name " + dll + ".dll").c_str(), downloads.Path());
        std::string loaded = testfs::ReadWholeFile(marker);
        CharLowerBuffA(&loaded[0], static_cast<DWORD>(loaded.size()));
        EXPECT_NE(std::string::npos, loaded.find(dll + ".dll in"))
            << dll << ".dll: a search by name did not find the plant";
    }
    SetEnvironmentVariableA("PLANTED_DLL_MARKER", nullptr);
}

}  // namespace
