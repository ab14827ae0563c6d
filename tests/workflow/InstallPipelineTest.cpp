// The whole installation without a window: the real downloader against the vendor stand-in,
// the real staging folder, the setup stand-in and its progress file, driven through the
// session's rules by this thread acting as the user-interface thread. And hostile addresses
// from the configuration service, which fail their attempt so that the fallback serves.
#include "workflow/InstallSession.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include <gtest/gtest.h>

#include "net/Downloader.h"
#include "net/RemoteConfig.h"
#include "tests/support/StandIn.h"
#include "tests/support/TempFolder.h"
#include "workflow/StagingArea.h"

namespace {

// The user-interface thread's queue: the downloader's notifications arrive here from the
// workers; a progress notification waits until it has been handled, as SendMessage does.
class EventQueue {
public:
    struct Event {
        bool progress;
        int value;
    };

    void Progress(int percent)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        const unsigned long long ticket = ++m_posted;
        m_events.push_back({true, percent});
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_handled >= ticket; });
    }

    void Finished(int code)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_posted;
        m_events.push_back({false, code});
        m_changed.notify_all();
    }

    // Next event within the wait, or false.
    bool Next(Event& event, std::chrono::milliseconds wait)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_changed.wait_for(lock, wait, [&] { return !m_events.empty(); }))
            return false;
        event = m_events.front();
        m_events.pop_front();
        return true;
    }

    void Handled()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_handled;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Event> m_events;
    unsigned long long m_posted = 0;
    unsigned long long m_handled = 0;
};

class RecordingView : public IInstallView {
public:
    int GetBarPos() override { return bar; }
    void SetBarPos(int pos) override
    {
        bar = pos;
        EXPECT_GE(pos, 0);
        EXPECT_LE(pos, 100);
    }
    void RepaintBar() override {}
    void ShowScreen(InstallScreen s) override { screen = s; }
    void SetPollTimer(bool running) override { timer = running; }
    std::string GetInstallFolderText() override { return folderText; }
    void SetInstallEnabled(bool) override {}
    bool IsAgreeChecked() override { return true; }
    void MakeTopmost() override { topmost = true; }

    int bar = 0;
    InstallScreen screen = InstallScreen::Start;
    bool timer = false;
    bool topmost = false;
    std::string folderText;
};

TEST(InstallPipeline, FirstAddressFailsFallbackServesSetupInstallsTheProduct)
{
    standin::Reset();
    testfs::TempFolder temp;
    SetEnvironmentVariableA("SETUP_STANDIN_STEP_MS", "5");

    EventQueue queue;
    stuFtpNotifier notifier{
        [](void* q, int percent) { static_cast<EventQueue*>(q)->Progress(percent); },
        [](void* q, int code) { static_cast<EventQueue*>(q)->Finished(code); },
        &queue};
    set_ftp_notifier(&notifier);

    RecordingView view;
    view.folderText = temp / "德拉沃归档助手\\";
    InstallPlatform platform = InstallPlatform::Default();
    platform.firstRetryDelayMs = 200;
    CInstallSession session(view, platform);
    session.m_strDownloadUrl = standin::Url("/download/404/dravo_com_installer.exe");

    testing::internal::CaptureStdout();
    session.OnBnClickedInstall();
    std::vector<int> completions;
    int progressMessages = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (view.screen != InstallScreen::Finished && std::chrono::steady_clock::now() < deadline) {
        EventQueue::Event event;
        if (queue.Next(event, std::chrono::milliseconds(100))) {
            if (event.progress) {
                ++progressMessages;
                session.OnDownloadProgress(event.value);
            } else {
                completions.push_back(event.value);
                session.OnDownloadFinished(event.value);
            }
            queue.Handled();
        } else if (view.timer) {
            session.OnTimer(1);
        }
    }
    const std::string out = testing::internal::GetCapturedStdout();
    set_ftp_notifier(nullptr);

    ASSERT_EQ(InstallScreen::Finished, view.screen) << out;
    EXPECT_EQ((std::vector<int>{0, 100}), completions);
    EXPECT_GT(progressMessages, 0);
    EXPECT_EQ(FallbackDownloadUrl(), session.m_strDownloadUrl);
    EXPECT_EQ(200u, session.RetryDelayMs());
    EXPECT_EQ(100, view.bar);
    EXPECT_FALSE(view.timer);
    EXPECT_TRUE(view.topmost);
    EXPECT_FALSE(testfs::FileExists(session.ProgressFile()));
    EXPECT_EQ(view.folderText, session.m_strInstallDir);
    EXPECT_TRUE(testfs::FileExists(temp / "德拉沃归档助手\\vexaDesk.exe"));
    EXPECT_NE(std::string::npos, out.find("下载完成！"));

    // What the download host saw: the first address, then the fallback address.
    std::vector<std::string> gets;
    for (const auto& r : standin::Requests())
        if (r.method == "GET")
            gets.push_back(r.path);
    EXPECT_EQ((std::vector<std::string>{"/download/404/dravo_com_installer.exe", "/dravo_com_install.exe"}),
              gets);
}

TEST(InstallPipeline, AddressesTheDownloaderCannotTakeFailAndTheFallbackServes)
{
    testfs::TempFolder temp;
    EventQueue queue;
    stuFtpNotifier notifier{
        [](void* q, int percent) { static_cast<EventQueue*>(q)->Progress(percent); },
        [](void* q, int code) { static_cast<EventQueue*>(q)->Finished(code); },
        &queue};
    set_ftp_notifier(&notifier);

    const std::string setupUrl = standin::Url("/download/dravo_com_installer.exe");
    auto answer = [](const std::string& value) {
        return R"({"code":200,"message":"success","data":[{"configKey":"download_url","configValue":")" +
               value + "\"}]}";
    };
    const struct {
        const char* what;
        std::string answer;
        bool accepted;  // an address came out of the answer
    } cases[] = {
        // Cut to 1023 characters, or at the NUL, each would still name the setup file.
        {"address of 100 KiB", answer(setupUrl + "?pad=" + std::string(100 * 1024, 'p')), true},
        {"address with an escaped NUL", answer(setupUrl + "\\u0000.evil"), true},
        {"address with an escaped control byte",
         answer(standin::Url("/download/\\u0001/dravo_com_installer.exe")), true},
        {"address with bytes that are not UTF-8", answer(setupUrl + "\xFF"), false},
        {"answer nested 100000 levels",
         answer(setupUrl).insert(1, "\"x\":" + std::string(100000, '[') + std::string(100000, ']') + ","),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        standin::Reset();
        RecordingView view;
        view.folderText = temp / "德拉沃归档助手\\";
        std::vector<std::string> launched;
        InstallPlatform platform = InstallPlatform::Default();
        platform.firstRetryDelayMs = 50;
        platform.downloadDir = [&]() { return temp.Path() + "/dravo_download"; };
        platform.launchSetup = [&](const std::string& setup, const std::string&) {
            launched.push_back(setup);
            return true;
        };
        CInstallSession session(view, platform);

        // What the dialog does with the answer at its start.
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        std::string url;
        EXPECT_EQ(c.accepted ? 1 : 0, ApplyConfigAnswer(c.answer, url));
        session.m_strDownloadUrl = url.empty() ? url : Trim(url);
        EXPECT_EQ(c.accepted, !session.m_strDownloadUrl.empty());

        session.OnBnClickedInstall();
        std::vector<int> completions;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (completions.size() < 2 && std::chrono::steady_clock::now() < deadline) {
            EventQueue::Event event;
            if (!queue.Next(event, std::chrono::milliseconds(100)))
                continue;
            if (event.progress) {
                session.OnDownloadProgress(event.value);
            } else {
                completions.push_back(event.value);
                session.OnDownloadFinished(event.value);
            }
            queue.Handled();
        }
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();

        EXPECT_EQ((std::vector<int>{0, 100}), completions);
        EXPECT_EQ(FallbackDownloadUrl(), session.m_strDownloadUrl);
        EXPECT_EQ(std::vector<std::string>{session.SetupPath()}, launched);
        EXPECT_TRUE(view.timer);
        // Nothing was asked for but the fallback address: a HEAD and a GET.
        for (const auto& r : standin::Requests())
            EXPECT_EQ("/dravo_com_install.exe", r.path) << r.method;
        EXPECT_EQ(2u, standin::Requests().size());
    }
    set_ftp_notifier(nullptr);
}

}  // namespace
