#include "workflow/InstallSession.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <thread>

#include "BuildConfig.h"
#include "net/Downloader.h"
#include "workflow/SetupLauncher.h"
#include "workflow/StagingArea.h"

namespace {

const unsigned kPollTimerId = 1;
const int kSuccess = 100;

// Download percent d shows as d / 2 (0 to 50); setup percent p as p / 2 + 50 (50 to 100).
int DownloadBarTarget(int percent)
{
    return std::clamp(static_cast<int>(percent * 0.5), 0, 50);
}

int SetupBarTarget(int percent)
{
    return static_cast<int>(std::clamp(percent * 0.5 + 50.0, 50.0, 100.0));
}

}  // namespace

// The part of the session a worker uses. Workers hold it themselves, so it outlives the dialog
// when the dialog ends during a download.
struct CInstallSession::Shared {
    explicit Shared(InstallPlatform p) : platform(std::move(p)) {}

    const InstallPlatform platform;
    mutable std::mutex mutex;
    std::string setupPath;
    std::string progressFile;
};

std::string FallbackDownloadUrl()
{
    return std::string("https://") + INSTALLER_DOWNLOAD_HOST + "/dravo_com_install.exe";
}

InstallPlatform InstallPlatform::Default()
{
    InstallPlatform p;
    p.startWorker = [](std::function<void()> job) { std::thread(std::move(job)).detach(); };
    p.download = [](const std::string& url, const std::string& path) {
        // The downloader takes the address up to its first NUL byte. An address with one inside
        // (a configuration value with "\u0000") would name another file than the one given, so
        // it goes on empty and the attempt fails like any other.
        const bool whole = url.find('\0') == std::string::npos;
        return ftp_download(whole ? url.c_str() : "", path.c_str());
    };
    p.reportFinished = [](int code) { ftp_report_finished(code); };
    p.launchSetup = &StartSetupProgram;
    p.downloadDir = &GetDownloadDir;
    p.sleep = [](unsigned ms) { Sleep(ms); };
    return p;
}

CInstallSession::CInstallSession(IInstallView& view, InstallPlatform platform)
    : m_view(view), m_shared(std::make_shared<Shared>(std::move(platform)))
{
}

std::string CInstallSession::SetupPath() const
{
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    return m_shared->setupPath;
}

std::string CInstallSession::ProgressFile() const
{
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    return m_shared->progressFile;
}

void CInstallSession::OnBnClickedInstall()
{
    m_view.ShowScreen(InstallScreen::Progress);
    StartWorker(0);
}

void CInstallSession::StartWorker(unsigned delayMs)
{
    // The worker works on its own copy of the address, taken now on this thread.
    auto shared = m_shared;
    std::string url = m_strDownloadUrl;
    shared->platform.startWorker(
        [shared, url, delayMs]() { DownloadWorker(shared, url, delayMs); });
}

int CInstallSession::DownloadWorker(const std::shared_ptr<Shared>& shared, std::string url,
                                    unsigned delayMs)
{
    const InstallPlatform& platform = shared->platform;
    if (delayMs > 0)
        platform.sleep(delayMs);

    const std::string folder = platform.downloadDir();
    if (!EnsureDirectory(folder)) {
        // Counts as a failed attempt: the session tries again after its pause, and goes on
        // once the folder can be made (a virus scanner or a full disk may let go of it).
        fprintf(stderr, "cannot make the staging folder %s\n", folder.c_str());
        platform.reportFinished(0);
        return -1;
    }
    const std::string progressFile = ProgressFilePath(folder);
    const std::string setupPath = SetupFilePath(folder);
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->progressFile = progressFile;
        shared->setupPath = setupPath;
    }
    ResetProgressFile(progressFile.c_str());

    if (platform.download(url, setupPath) != 0)
        return -1;
    printf("下载完成！\n");
    fflush(stdout);
    return 0;
}

void CInstallSession::OnDownloadProgress(int percent)
{
    const int target = DownloadBarTarget(percent);
    if (m_view.GetBarPos() < target)
        m_view.SetBarPos(target);
    m_view.RepaintBar();
}

void CInstallSession::OnDownloadFinished(int code)
{
    if (code == kSuccess) {
        m_view.SetBarPos(50);
        m_view.RepaintBar();
        m_strInstallDir = m_view.GetInstallFolderText();
        LaunchSetup();
        m_view.SetPollTimer(true);
        return;
    }
    // Every failure is followed by another attempt from the fallback address, without end,
    // but each after a longer pause, so that a machine without network is not flooded.
    m_strDownloadUrl = FallbackDownloadUrl();
    const InstallPlatform& platform = m_shared->platform;
    m_retryDelayMs = m_retryDelayMs == 0 ? platform.firstRetryDelayMs
                                         : std::min(m_retryDelayMs * 2, platform.maxRetryDelayMs);
    StartWorker(m_retryDelayMs);
}

void CInstallSession::LaunchSetup()
{
    m_shared->platform.launchSetup(SetupPath(), m_strInstallDir);
}

bool CInstallSession::OnTimer(unsigned id)
{
    if (id != kPollTimerId)
        return false;

    const std::string progressFile = ProgressFile();
    const int percent = ReadInstallPercent(progressFile);
    if (percent > 0) {
        const int target = SetupBarTarget(percent);
        if (m_view.GetBarPos() < target)
            m_view.SetBarPos(target);
        m_view.RepaintBar();
    } else if (m_view.GetBarPos() > 0) {
        m_view.SetBarPos(50);
    }

    if (IsInstallFinished(ReadInstallState(progressFile))) {
        m_view.SetPollTimer(false);
        m_view.SetBarPos(100);
        m_view.ShowScreen(InstallScreen::Finished);
        DeleteFileA(progressFile.c_str());
        m_view.MakeTopmost();
    }
    return true;
}

void CInstallSession::OnAgreeChanged()
{
    m_view.SetInstallEnabled(m_view.IsAgreeChecked());
}
