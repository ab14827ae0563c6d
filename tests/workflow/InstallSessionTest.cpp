// The install session's rules against a fake dialog and a fake platform: the bar's two halves,
// the retry from the fallback address with its growing pause, the setup launch, the polling of
// the progress file and the finished screen.
#include "workflow/InstallSession.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "BuildConfig.h"
#include "tests/support/TempFolder.h"
#include "workflow/SetupLauncher.h"
#include "workflow/StagingArea.h"

namespace {

class FakeView : public IInstallView {
public:
    int GetBarPos() override { return bar; }
    void SetBarPos(int pos) override
    {
        bar = pos;
        barHistory.push_back(pos);
    }
    void RepaintBar() override { ++repaints; }
    void ShowScreen(InstallScreen s) override { screens.push_back(s); }
    void SetPollTimer(bool running) override { timer = running; }
    std::string GetInstallFolderText() override { return folderText; }
    void SetInstallEnabled(bool enabled) override { installEnabled = enabled; }
    bool IsAgreeChecked() override { return agreeChecked; }
    void MakeTopmost() override { ++topmost; }

    int bar = 0;
    std::vector<int> barHistory;
    int repaints = 0;
    std::vector<InstallScreen> screens;
    bool timer = false;
    std::string folderText = "C:\\Program Files\\德拉沃归档助手\\";
    bool installEnabled = true;
    bool agreeChecked = true;
    int topmost = 0;
};

// Workers are queued and run by the test; downloads and launches are recorded.
struct FakePlatform {
    std::vector<std::function<void()>> jobs;
    std::vector<std::string> downloadedUrls;
    std::vector<int> reported;
    std::vector<unsigned> sleeps;
    std::vector<std::pair<std::string, std::string>> launches;
    std::string stagingRoot;

    InstallPlatform Make(unsigned first = 1000, unsigned most = 30000)
    {
        InstallPlatform p;
        p.startWorker = [this](std::function<void()> job) { jobs.push_back(std::move(job)); };
        p.download = [this](const std::string& url, const std::string&) {
            downloadedUrls.push_back(url);
            return 0;
        };
        p.reportFinished = [this](int code) { reported.push_back(code); };
        p.launchSetup = [this](const std::string& setup, const std::string& dir) {
            launches.emplace_back(setup, dir);
            return true;
        };
        p.downloadDir = [this]() { return stagingRoot + "/dravo_download"; };
        p.sleep = [this](unsigned ms) { sleeps.push_back(ms); };
        p.firstRetryDelayMs = first;
        p.maxRetryDelayMs = most;
        return p;
    }

    void RunJobs()
    {
        auto pending = std::move(jobs);
        jobs.clear();
        for (auto& job : pending)
            job();
    }
};

class InstallSessionTest : public ::testing::Test {
protected:
    InstallSessionTest() { platform.stagingRoot = temp.Path(); }

    // Install command, worker run, download reported complete: the setup is "running".
    void RunToInstalling(CInstallSession& session)
    {
        session.m_strDownloadUrl = "https://localhost/first.exe";
        session.OnBnClickedInstall();
        platform.RunJobs();
        session.OnDownloadFinished(100);
    }

    void WriteProgress(const CInstallSession& session, const std::string& text)
    {
        std::ofstream(session.ProgressFile(), std::ios::binary | std::ios::trunc) << text;
    }

    testfs::TempFolder temp;
    FakePlatform platform;
    FakeView view;
};

TEST_F(InstallSessionTest, InstallCommandShowsProgressAndDownloadsIntoTheStagingFolder)
{
    CInstallSession session(view, platform.Make());
    session.m_strDownloadUrl = "https://localhost/first.exe";
    // A progress file left over from an earlier run must not end this one.
    CreateDirectoryA((temp.Path() + "/dravo_download").c_str(), nullptr);
    std::ofstream(temp.Path() + "/dravo_download/install_progress.ini") << "[InstallProgress]\nstate=finish\n";

    session.OnBnClickedInstall();
    ASSERT_EQ(std::vector<InstallScreen>{InstallScreen::Progress}, view.screens);
    ASSERT_EQ(1u, platform.jobs.size());
    platform.RunJobs();

    EXPECT_EQ(std::vector<std::string>{"https://localhost/first.exe"}, platform.downloadedUrls);
    EXPECT_EQ(temp.Path() + "/dravo_download/dravo_com_installer.exe", session.SetupPath());
    EXPECT_EQ(temp.Path() + "/dravo_download/install_progress.ini", session.ProgressFile());
    EXPECT_EQ("", ReadInstallState(session.ProgressFile()));
    EXPECT_TRUE(platform.sleeps.empty());
}

TEST_F(InstallSessionTest, DownloadPercentagesFillTheFirstHalfForwardOnly)
{
    CInstallSession session(view, platform.Make());
    const struct {
        int percent, bar;
    } steps[] = {{1, 0}, {2, 1}, {3, 1}, {100, 50}, {40, 50}, {-5, 50}, {1000, 50}};
    int repaints = 0;
    for (const auto& s : steps) {
        session.OnDownloadProgress(s.percent);
        EXPECT_EQ(s.bar, view.bar) << s.percent;
        EXPECT_EQ(++repaints, view.repaints) << "repainted every time";
    }
}

TEST_F(InstallSessionTest, SuccessLaunchesTheSetupIntoTheFolderTextOfThatMoment)
{
    CInstallSession session(view, platform.Make());
    session.OnBnClickedInstall();
    platform.RunJobs();
    view.bar = 37;
    view.folderText = "D:\\带 空格\\德拉沃归档助手\\";
    session.OnDownloadFinished(100);

    EXPECT_EQ(50, view.bar);
    EXPECT_EQ(1, view.repaints);
    EXPECT_TRUE(view.timer);
    EXPECT_EQ("D:\\带 空格\\德拉沃归档助手\\", session.m_strInstallDir);
    ASSERT_EQ(1u, platform.launches.size());
    EXPECT_EQ(session.SetupPath(), platform.launches[0].first);
    EXPECT_EQ("D:\\带 空格\\德拉沃归档助手\\", platform.launches[0].second);
    EXPECT_TRUE(platform.jobs.empty());
}

TEST_F(InstallSessionTest, FailuresRetryFromTheFallbackAfterGrowingPauses)
{
    CInstallSession session(view, platform.Make(1000, 30000));
    session.m_strDownloadUrl = "https://localhost/first.exe";
    session.OnBnClickedInstall();
    platform.RunJobs();
    view.bar = 20;

    const int codes[] = {0, 1, 50, 99, 0, 0, 0, 0};
    const unsigned pauses[] = {1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000};
    for (size_t i = 0; i < 8; ++i) {
        session.OnDownloadFinished(codes[i]);
        EXPECT_EQ(FallbackDownloadUrl(), session.m_strDownloadUrl);
        ASSERT_EQ(1u, platform.jobs.size()) << "one new attempt per failure";
        platform.RunJobs();
        EXPECT_EQ(pauses[i], platform.sleeps.back());
    }
    EXPECT_EQ(std::string("https://") + INSTALLER_DOWNLOAD_HOST + "/dravo_com_install.exe",
              FallbackDownloadUrl());
    EXPECT_EQ(9u, platform.downloadedUrls.size());
    EXPECT_EQ(FallbackDownloadUrl(), platform.downloadedUrls.back());
    EXPECT_EQ(20, view.bar) << "the bar keeps its position";
    EXPECT_EQ(1u, view.screens.size()) << "the screen does not change";
    EXPECT_FALSE(view.timer);
    EXPECT_TRUE(platform.launches.empty());
}

TEST_F(InstallSessionTest, SetupPercentFillsTheSecondHalf)
{
    CInstallSession session(view, platform.Make());
    RunToInstalling(session);
    const struct {
        const char* file;
        int bar;
    } ticks[] = {
        {"[InstallProgress]\nPercent=1\n", 50},
        {"[InstallProgress]\nPercent=2\n", 51},
        {"[InstallProgress]\nPercent=99\n", 99},
        {"[InstallProgress]\nPercent=80\n", 99},   // forward only
        {"[InstallProgress]\nPercent=0\n", 50},    // a silent setup: back to 50
        {"[installprogress]\nPERCENT=80\n", 90},   // names in any case
        {"", 50},                                  // nothing written yet
        {"[InstallProgress]\nPercent=2147483647\n", 100},
        {"[InstallProgress]\nPercent=-5\n", 50},
        {"[InstallProgress]\nPercent=100\n", 100},
    };
    for (const auto& t : ticks) {
        WriteProgress(session, t.file);
        EXPECT_TRUE(session.OnTimer(1));
        EXPECT_EQ(t.bar, view.bar) << t.file;
        EXPECT_TRUE(view.timer);
    }
    EXPECT_FALSE(session.OnTimer(2)) << "other timers are not the session's";
}

TEST_F(InstallSessionTest, OnlyTheExactFinishStateEndsTheInstallation)
{
    CInstallSession session(view, platform.Make());
    RunToInstalling(session);
    for (const char* state : {"Finish", "FINISH", "\"finish \"", "finished", "\"\"", "finish\x01"}) {
        WriteProgress(session, std::string("[InstallProgress]\nPercent=100\nstate=") + state + "\n");
        session.OnTimer(1);
        EXPECT_TRUE(view.timer) << state;
        EXPECT_EQ(InstallScreen::Progress, view.screens.back()) << state;
    }

    WriteProgress(session, "[InstallProgress]\nPercent=100\nstate=finish\n");
    session.OnTimer(1);
    EXPECT_FALSE(view.timer);
    EXPECT_EQ(InstallScreen::Finished, view.screens.back());
    EXPECT_EQ(100, view.bar);
    EXPECT_EQ(1, view.topmost);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(session.ProgressFile().c_str()));
}

TEST_F(InstallSessionTest, HostileProgressFilesKeepTheBarWithinItsRangeAndNeverFinish)
{
    CInstallSession session(view, platform.Make());
    RunToInstalling(session);
    std::mt19937 random(2046);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    const std::string section = "[InstallProgress]\r\n";
    const std::string megabyte(1024 * 1024, '9');
    const struct {
        const char* what;
        std::string file;
        int bar;
    } ticks[] = {
        {"binary garbage", garbage, 50},
        {"garbage with the keys in it", garbage + "state=finish\r\nPercent=42\r\n" + garbage, 50},
        {"a blank before the number", section + "Percent= 42\r\n", 71},
        {"Percent -5", section + "Percent=-5\r\n", 50},
        {"text after the number", section + "Percent=42abc\r\n", 71},
        {"garbage inside the section", section + garbage + "\r\nPercent=60\r\n", 80},
        {"a line of 1 MiB before the key", section + std::string(1024 * 1024, 'z') + "\r\nPercent=62\r\n", 81},
        {"Percent 101", section + "Percent=101\r\n", 100},
        {"Percent 0", section + "Percent=0\r\n", 50},
        {"Percent 2147483648", section + "Percent=2147483648\r\n", 100},
        {"Percent -2147483649", section + "Percent=-2147483649\r\n", 50},
        {"Percent of 1 MiB of digits", section + "Percent=" + megabyte + "\r\n", 100},
        {"state of 300 bytes starting with finish",
         section + "Percent=100\r\nstate=finish" + std::string(294, 'x') + "\r\n", 100},
        {"state of 1 MiB starting with finish",
         section + "state=finish" + std::string(1024 * 1024, 'x') + "\r\n", 50},
        {"finish in another section", "[Other]\r\nstate=finish\r\n" + section, 50},
    };
    for (const auto& t : ticks) {
        WriteProgress(session, t.file);
        EXPECT_TRUE(session.OnTimer(1));
        EXPECT_EQ(t.bar, view.bar) << t.what;
        EXPECT_TRUE(view.timer) << t.what;
        EXPECT_EQ(InstallScreen::Progress, view.screens.back()) << t.what;
    }
    for (int pos : view.barHistory) {
        EXPECT_GE(pos, 0);
        EXPECT_LE(pos, 100);
    }

    // the setup's own last write still ends the installation
    WriteProgress(session, section + "Percent=100\r\nstate=finish\r\n");
    session.OnTimer(1);
    EXPECT_EQ(InstallScreen::Finished, view.screens.back());
    EXPECT_FALSE(view.timer);
}

TEST_F(InstallSessionTest, InstallFolderTextBeyondMaxPathReachesTheLaunchWholeOrFailsIt)
{
    // The "setup" is the product stand-in: it writes its command line to vexaDesk.ran beside
    // itself and closes.
    SetEnvironmentVariableA("VEXADESK_CLOSE_AFTER_MS", "100");
    std::vector<bool> started;
    auto launches = platform.Make();
    launches.launchSetup = [&](const std::string& setup, const std::string& dir) {
        started.push_back(StartSetupProgram(setup, dir));
        return started.back();
    };
    for (size_t length : {300u, 100u * 1024u}) {
        SCOPED_TRACE(length);
        platform.stagingRoot = temp / ("run " + std::to_string(length));
        ASSERT_TRUE(CreateDirectoryA(platform.stagingRoot.c_str(), nullptr));
        FakeView fresh;
        fresh.folderText = "C:\\" + std::string(length - 4, 'd') + "\\";
        CInstallSession session(fresh, launches);
        session.OnBnClickedInstall();
        platform.RunJobs();
        const std::string trace = platform.stagingRoot + "\\dravo_download\\vexaDesk.ran";
        ASSERT_TRUE(CopyFileA((testfs::ProgramFolder() + "\\vexaDesk.exe").c_str(),
                              session.SetupPath().c_str(), FALSE));
        session.OnDownloadFinished(100);

        EXPECT_EQ(fresh.folderText, session.m_strInstallDir);
        EXPECT_TRUE(fresh.timer);
        EXPECT_EQ(50, fresh.bar);
        const std::string line = ComposeSetupCommandLine(session.SetupPath(), fresh.folderText);
        if (line.size() < 32767) {
            // started, and given the whole line
            EXPECT_TRUE(started.back());
            const DWORD start = GetTickCount();
            while (testfs::ReadWholeFile(trace).empty() && GetTickCount() - start < 30000) Sleep(20);
            EXPECT_EQ("started " + line + "\r\n", testfs::ReadWholeFile(trace));
            // gone once it has closed, so that the temporary folder can go too
            while (!DeleteFileA(session.SetupPath().c_str()) && GetTickCount() - start < 30000)
                Sleep(20);
        } else {
            // beyond what a command line may hold: the system refuses it, nothing starts, and
            // the session polls on with the bar at 50
            EXPECT_FALSE(started.back());
            session.OnTimer(1);
            EXPECT_EQ(50, fresh.bar);
            EXPECT_TRUE(fresh.timer);
        }
    }
    SetEnvironmentVariableA("VEXADESK_CLOSE_AFTER_MS", nullptr);
}

TEST_F(InstallSessionTest, AgreementBoxEnablesTheInstallCommand)
{
    CInstallSession session(view, platform.Make());
    view.agreeChecked = false;
    session.OnAgreeChanged();
    EXPECT_FALSE(view.installEnabled);
    view.agreeChecked = true;
    session.OnAgreeChanged();
    EXPECT_TRUE(view.installEnabled);
}

TEST_F(InstallSessionTest, StagingFolderThatCannotBeMadeIsAFailedAttempt)
{
    // A plain file where the staging folder should be.
    std::ofstream(temp.Path() + "/dravo_download") << "in the way";
    CInstallSession session(view, platform.Make());
    session.OnBnClickedInstall();
    testing::internal::CaptureStderr();
    platform.RunJobs();
    std::string err = testing::internal::GetCapturedStderr();

    EXPECT_TRUE(platform.downloadedUrls.empty());
    EXPECT_EQ(std::vector<int>{0}, platform.reported);
    EXPECT_NE(std::string::npos, err.find("dravo_download"));
    session.OnDownloadFinished(platform.reported.back());
    EXPECT_EQ(1u, platform.jobs.size()) << "tried again after the pause";
}

TEST_F(InstallSessionTest, WorkerOutlivesTheSession)
{
    {
        CInstallSession session(view, platform.Make());
        session.m_strDownloadUrl = "https://localhost/first.exe";
        session.OnBnClickedInstall();
    }  // the dialog ended (Enter or Esc) while the attempt had not run yet
    platform.RunJobs();
    EXPECT_EQ(std::vector<std::string>{"https://localhost/first.exe"}, platform.downloadedUrls);
}

}  // namespace
