// The install session: the rules behind the installer dialog, from the install command to the
// finished screen.
//
// The dialog owns one CInstallSession and forwards its events to it: the install command, the
// downloader's two messages, timer 1 and the agreement box's toggles. The session acts on the
// dialog only through IInstallView, and starts its download attempts through InstallPlatform,
// so the rules run and are tested without a window.
//
// Order of events: OnBnClickedInstall starts a worker (DownloadWorker) that makes the staging
// folder, empties the progress file and downloads the setup program; the downloader's progress
// moves the bar from 0 to 50 (OnDownloadProgress); OnDownloadFinished either starts the setup
// program and timer 1, or takes the fallback address and starts another attempt after a pause;
// every tick (OnTimer) reads the progress file and moves the bar from 50 to 100 until the setup
// writes "finish", which shows the finished screen.
//
// Threads: every member function runs on the user-interface thread, except the body of a
// worker. A worker touches only the session's shared part (the staging paths), which it keeps
// alive itself, so the dialog may end while an attempt is still running.
#pragma once

#include <functional>
#include <memory>
#include <string>

enum class InstallScreen { Start, Progress, Finished };

// The dialog as the session sees it. Called on the user-interface thread only.
class IInstallView {
public:
    virtual ~IInstallView() = default;

    virtual int GetBarPos() = 0;
    virtual void SetBarPos(int pos) = 0;
    virtual void RepaintBar() = 0;
    // Background, which controls are visible, and a repaint of the whole dialog.
    virtual void ShowScreen(InstallScreen screen) = 0;
    // Timer 1, every 1000 ms, delivered back as OnTimer(1).
    virtual void SetPollTimer(bool running) = 0;
    // The install folder text as it stands now.
    virtual std::string GetInstallFolderText() = 0;
    virtual void SetInstallEnabled(bool enabled) = 0;
    virtual bool IsAgreeChecked() = 0;
    // On top of the Z order, and topmost from now on.
    virtual void MakeTopmost() = 0;
};

// What the session needs from the system; Default() is the real thing.
struct InstallPlatform {
    // Runs job on a new thread that nobody waits for.
    std::function<void(std::function<void()> job)> startWorker;
    // Downloads url into path on the calling (worker) thread; its completion reaches the
    // session as OnDownloadFinished on the user-interface thread. Returns 0 when it ran.
    std::function<int(const std::string& url, const std::string& path)> download;
    // Delivers a completion code to OnDownloadFinished, as the downloader does, for an attempt
    // that ended before the download (the staging folder could not be made).
    std::function<void(int code)> reportFinished;
    std::function<bool(const std::string& setupPath, const std::string& installDir)> launchSetup;
    std::function<std::string()> downloadDir;
    std::function<void(unsigned milliseconds)> sleep;

    // Pause before the attempt after a failure: first, then doubled each time up to the most.
    unsigned firstRetryDelayMs = 1000;
    unsigned maxRetryDelayMs = 30000;

    static InstallPlatform Default();
};

// "https://" + download host + "/dravo_com_install.exe": the address taken after every
// failed download.
std::string FallbackDownloadUrl();

class CInstallSession {
public:
    explicit CInstallSession(IInstallView& view, InstallPlatform platform = InstallPlatform::Default());
    CInstallSession(const CInstallSession&) = delete;
    CInstallSession& operator=(const CInstallSession&) = delete;

    // Event handlers, user-interface thread.
    void OnBnClickedInstall();
    void OnDownloadProgress(int percent);
    void OnDownloadFinished(int code);
    // True when the tick was the session's timer 1; other ids are the caller's.
    bool OnTimer(unsigned id);
    void OnAgreeChanged();
    void LaunchSetup();

    // Session fields. The download address and the install folder belong to the
    // user-interface thread; the two staging paths are written by the worker before it reports
    // its completion and read here only after that.
    std::string m_strDownloadUrl;
    std::string m_strInstallDir;
    std::string SetupPath() const;
    std::string ProgressFile() const;

    // The pause the next attempt after a failure waits (0 before the first failure).
    unsigned RetryDelayMs() const { return m_retryDelayMs; }

private:
    struct Shared;
    static int DownloadWorker(const std::shared_ptr<Shared>& shared, std::string url, unsigned delayMs);
    void StartWorker(unsigned delayMs);

    IInstallView& m_view;
    std::shared_ptr<Shared> m_shared;
    unsigned m_retryDelayMs = 0;
};
