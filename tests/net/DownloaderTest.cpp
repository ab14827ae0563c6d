// The setup file downloader against the vendor stand-in's download host over real HTTPS on
// loopback: what reaches the server, what lands on disk, which notifications the dialog's
// window receives and how. The records and callbacks on their own: DownloaderRecordsTest.cpp.
#include "net/Downloader.h"

#include <winsock2.h>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/StandIn.h"

namespace {

// The stand-in's generated bodies (tools/vendor/download_host.py).
const size_t kGeneratedSize = 3 * 1024 * 1024 + 12345;
const size_t kLargeSize = 200u * 1024 * 1024 + 4321;
const size_t kExtraBytes = 4096;  // what "long" cases send beyond the announced length

// Byte o of a generated body: 65536-byte blocks, each starting with its index as an 8-byte
// little-endian number.
unsigned char GeneratedByte(size_t o)
{
    const size_t block = o / 65536, j = o % 65536;
    if (j < 8)
        return j < sizeof(size_t) ? static_cast<unsigned char>(block >> (8 * j)) : 0;
    return static_cast<unsigned char>(131 * j + 17 * (j >> 9) + 0x5A);
}

std::string Generated(size_t size, size_t from = 0)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(GeneratedByte(from + i));
    return bytes;
}

std::string CaseUrl(const std::string& name)
{
    return standin::Url("/download/" + name + "/dravo_com_installer.exe");
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The file's bytes, or "<absent>".
std::string Contents(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (f == nullptr)
        return "<absent>";
    std::string bytes;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
        bytes.append(buffer, n);
    fclose(f);
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f) << path;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// A fresh folder under the temporary folder, removed with everything in it.
class TempDir {
public:
    explicit TempDir(const std::string& name = "downloader")
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        m_path = std::string(base) + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(s_count++);
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TempDir() { Remove(m_path); }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }
    const std::string& path() const { return m_path; }

private:
    static void Remove(const std::string& dir)
    {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(dir + "\\" + name);
                else
                    DeleteFileA((dir + "\\" + name).c_str());
            } while (FindNextFileA(h, &found));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }
    static int s_count;
    std::string m_path;
};
int TempDir::s_count = 0;

// A hidden window of the calling thread standing in for the installer dialog: it records the
// downloader's two messages and how each arrived.
class NotifyWindow {
public:
    NotifyWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &NotifyWindow::Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "DownloaderTestWindow";
        RegisterClassA(&wc);  // already registered by an earlier window: fine
        m_hwnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~NotifyWindow() { DestroyWindow(m_hwnd); }
    HWND hwnd() const { return m_hwnd; }

    // Handles messages until the completion arrives or limitMs passes; false on time-out.
    bool WaitForFinished(DWORD limitMs)
    {
        SetTimer(m_hwnd, 1, limitMs, nullptr);
        MSG msg;
        while (finished < 0 && !m_timedOut && GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
        KillTimer(m_hwnd, 1);
        return finished >= 0;
    }

    std::vector<int> progress;
    bool progressAllSentFromOtherThread = true;  // SendMessage from the worker, waited for
    int finished = -1;
    bool finishedPosted = false;
    int finishedCount = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self != nullptr) {
            if (msg == WM_DOWNLOAD_PROGRESS) {
                self->progress.push_back(static_cast<int>(wp));
                if ((InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_REPLIED)) != ISMEX_SEND)
                    self->progressAllSentFromOtherThread = false;
                return 0;
            }
            if (msg == WM_DOWNLOAD_FINISHED) {
                self->finished = static_cast<int>(wp);
                self->finishedPosted = !InSendMessage();
                ++self->finishedCount;
                return 0;
            }
            if (msg == WM_TIMER) {
                self->m_timedOut = true;
                return 0;
            }
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }

    HWND m_hwnd = nullptr;
    bool m_timedOut = false;
};

struct Outcome {
    int result = -1;  // wParam of the completion, -1 when none came
    std::vector<int> progress;
    bool progressSynchronous = false;
    bool finishedPosted = false;
    std::string out, err;
};

// One download the way the installer runs it: the window on this thread, ftp_download on a
// worker thread, this thread handling messages meanwhile.
Outcome Download(const std::string& url, const std::string& path)
{
    Outcome o;
    NotifyWindow window;
    set_notify_hwnd(window.hwnd());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    std::thread worker([&] { ftp_download(url.c_str(), path.c_str()); });
    const bool done = window.WaitForFinished(120000);
    if (done)
        worker.join();
    else
        worker.detach();
    o.out = testing::internal::GetCapturedStdout();
    o.err = testing::internal::GetCapturedStderr();
    set_notify_hwnd(nullptr);
    EXPECT_TRUE(done) << url << ": no completion within two minutes";
    EXPECT_EQ(done ? 1 : 0, window.finishedCount);
    o.result = window.finished;
    o.progress = window.progress;
    o.progressSynchronous = window.progressAllSentFromOtherThread;
    o.finishedPosted = window.finishedPosted;
    return o;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Short limits, so that the stalling cases end within seconds.
const stuFtpTimeLimits kTestLimits = {2000, 1024, 2};

class DownloaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::Reset();
        set_ftp_time_limits(&kTestLimits);
        last_percent = 0;  // as at process start, so that every download reports its 100
    }
    void TearDown() override
    {
        set_ftp_time_limits(nullptr);
        set_ftp_notifier(nullptr);
        set_notify_hwnd(nullptr);
    }
    TempDir dir;
};

TEST(DownloaderProgress, SendsEachNewWholePercentOnceAndKeepsTheLastAcrossDownloads)
{
    NotifyWindow window;  // this thread's own: SendMessage calls it directly
    set_notify_hwnd(window.hwnd());
    last_percent = 0;  // as at process start
    testing::internal::CaptureStdout();
    for (double now : {0.0, 5.0, 10.0, 15.0, 999.0, 1000.0})
        EXPECT_EQ(0, progress_cb(nullptr, 1000.0, now, 0, 0));
    EXPECT_EQ(std::vector<int>({1, 99, 100}), window.progress);
    EXPECT_EQ("\n persent[1%]\n persent[99%]\n persent[100%]",
              testing::internal::GetCapturedStdout());

    // the next download of the process starts from the 100 kept by the last
    window.progress.clear();
    for (double now : {0.0, 5.0, 10.0})
        progress_cb(nullptr, 1000.0, now, 0, 0);
    EXPECT_EQ(std::vector<int>({0, 1}), window.progress);
    EXPECT_EQ(1, last_percent);

    // no size known: nothing at all
    window.progress.clear();
    testing::internal::CaptureStdout();
    for (double total : {0.0, -1.0})
        EXPECT_EQ(0, progress_cb(nullptr, total, 500.0, 0, 0));
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_TRUE(window.progress.empty());
    set_notify_hwnd(nullptr);
}

TEST_F(DownloaderTest, SetupFileArrivesByteIdenticalWithRisingProgressEndingAt100)
{
    // an awkward folder: Chinese and a blank
    TempDir chinese("德拉沃 下载");
    const std::string path = chinese / "dravo_com_installer.exe";
    WriteFile(path, "an older setup program");

    Outcome o = Download(CaseUrl("generated"), path);
    EXPECT_EQ(100, o.result);
    EXPECT_TRUE(o.finishedPosted);
    EXPECT_TRUE(o.progressSynchronous);
    const std::string bytes = Contents(path);
    EXPECT_EQ(kGeneratedSize, bytes.size());
    EXPECT_TRUE(bytes == Generated(kGeneratedSize)) << "the file differs from what was served";
    EXPECT_FALSE(Exists(path + ".part"));

    ASSERT_GE(o.progress.size(), 2u);
    for (size_t i = 1; i < o.progress.size(); ++i)
        EXPECT_LT(o.progress[i - 1], o.progress[i]) << "at " << i;
    EXPECT_EQ(100, o.progress.back());

    // a HEAD, then a GET over the same connection, both with the anonymous Basic credentials
    auto requests = standin::Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("HEAD", requests[0].method);
    EXPECT_EQ("GET", requests[1].method);
    EXPECT_NE(0, requests[0].clientPort);
    EXPECT_EQ(requests[0].clientPort, requests[1].clientPort) << "a second connection for the GET";
    for (const auto& r : requests) {
        EXPECT_EQ("/download/generated/dravo_com_installer.exe", r.path);
        EXPECT_EQ("Basic YW5vbnltb3VzOng=", r.Header("Authorization"));  // anonymous:x
    }

    EXPECT_TRUE(Contains(o.out, "HTTP/1.1 200 OK")) << "the probe's header lines";
    EXPECT_TRUE(Contains(o.out, "  curl_easy_getinfo CURLE_OK !\n"));
    EXPECT_TRUE(Contains(o.out, "\n#####  file len = 3158073.000000 #####\n"));
    EXPECT_TRUE(Contains(o.out, "curl told us 0! finish!!!!!\n"));
    EXPECT_TRUE(Contains(o.out, "\nstuFtpFile.ncount[3158073.000000]\n"));
    EXPECT_TRUE(Contains(o.out, "\n persent[100%]"));
}

TEST_F(DownloaderTest, AnswersThatLeadToTheWholeFileSucceed)
{
    // What the default and fallback addresses serve: the setup stand-in once it is built.
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string setupStandIn = self;
    setupStandIn.resize(setupStandIn.find_last_of("\\/") + 1);
    setupStandIn += "SetupStandIn.exe";
    const std::string served =
        Exists(setupStandIn) ? Contents(setupStandIn) : Generated(kGeneratedSize);

    struct Case {
        const char* what;
        std::string url;
        std::string expected;
    } cases[] = {
        {"download address", standin::Url("/download/dravo_com_installer.exe"), served},
        {"fallback address", standin::Url("/dravo_com_install.exe"), served},
        {"redirect to a good file", CaseUrl("redirect"), Generated(kGeneratedSize)},
        // Bytes beyond the announced length are not part of the answer: the file holds
        // exactly what was announced.
        {"more bytes on the wire than announced", CaseUrl("long"), Generated(kGeneratedSize)},
    };
    for (const auto& c : cases) {
        const std::string path = dir / "dravo_com_installer.exe";
        Outcome o = Download(c.url, path);
        EXPECT_EQ(100, o.result) << c.what << "\n" << o.err;
        EXPECT_TRUE(Contents(path) == c.expected) << c.what;
        DeleteFileA(path.c_str());
    }
}

struct FailureCase {
    const char* what;
    std::string url;
    std::string out;  // standard output contains this
    std::string err;  // standard error contains this
    bool getMade;     // whether the GET reached the server
};

TEST_F(DownloaderTest, EveryFaultyAnswerEndsWithZeroAndLeavesTheTargetUntouched)
{
    // Accepts connections and never answers the TLS handshake.
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    SOCKET mute = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(mute, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    listen(mute, 4);
    int addrLen = sizeof(addr);
    getsockname(mute, reinterpret_cast<sockaddr*>(&addr), &addrLen);
    const std::string muteUrl =
        "https://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/dravo_com_installer.exe";

    const std::string hangPath = "/hang/dravo_com_installer.exe";
    const std::string finish = "curl told us 0! finish";
    const std::string length = "file len = 3158073";
    const std::string probeFailed = "\n s_get_download_file_length error \n";
    const std::string httpUrl = "http" + CaseUrl("generated").substr(5);

    const FailureCase cases[] = {
        {"error page 404 with its length", CaseUrl("404"), finish, "status 404", true},
        {"error page 500 with its length", CaseUrl("500"), finish, "status 500", true},
        {"redirect to http://", CaseUrl("redirect-http"), "res = 1 ", "", false},
        {"endless redirects", CaseUrl("redirect-loop"), "res = 47 ", "", false},
        {"chunked, no length", CaseUrl("chunked"), "  curl_easy_getinfo CURLE_OK !\n", "", false},
        {"body shorter than its length", CaseUrl("short"), length, "curl told us ", true},
        {"connection dropped mid-body", CaseUrl("drop"), length, "curl told us 56", true},
        {"slow drip that stalls", CaseUrl("drip"), length, "curl told us 28", true},
        {"zero-byte body", CaseUrl("empty"), finish, ", 0 bytes,", true},
        {"more bytes than the HEAD announced", CaseUrl("longer-than-head"), finish,
         std::to_string(kGeneratedSize + kExtraBytes) + " bytes", true},
        {"fewer bytes than the HEAD announced", CaseUrl("shorter-than-head"), finish,
         std::to_string(kGeneratedSize / 2) + " bytes, " + std::to_string(kGeneratedSize / 2) +
             " announced, " + std::to_string(kGeneratedSize) + " probed",
         true},
        {"address with a control byte", standin::Url("/download/\x01/dravo_com_installer.exe"),
         "res = 3 ", "", false},
        {"address with a blank", standin::Url("/download/a b/dravo_com_installer.exe"),
         "res = 3 ", "", false},
        {"address over 1023 characters",
         CaseUrl("generated") + "?pad=" + std::string(100 * 1024, 'p'),
         "address longer than 1023 characters", "", false},
        {"answer that never comes", standin::Url(hangPath), "res = 28 ", "", false},
        {"handshake that never completes", muteUrl, "res = 28 ", "", false},
        {"nothing listening", "https://127.0.0.1:1/dravo_com_installer.exe", "res = 7 ", "", false},
        {"plain http address", httpUrl, "res = 1 ", "", false},
        {"address without scheme", CaseUrl("generated").substr(8), "res = 1 ", "", false},
        {"ftp address", "ftp://127.0.0.1/dravo_com_installer.exe", "res = 1 ", "", false},
        {"file address", "file:///C:/windows/win.ini", "res = 1 ", "", false},
        {"empty address", "", "param error", "", false},
    };

    const std::string path = dir / "dravo_com_installer.exe";
    for (const auto& c : cases) {
        standin::Reset();
        standin::SetReply(hangPath, {200, "", {}, true});
        WriteFile(path, "an older setup program");
        Outcome o = Download(c.url, path);
        EXPECT_EQ(0, o.result) << c.what << "\n" << o.out << o.err;
        EXPECT_TRUE(o.finishedPosted) << c.what;
        EXPECT_EQ("an older setup program", Contents(path)) << c.what;
        EXPECT_FALSE(Exists(path + ".part")) << c.what;
        EXPECT_TRUE(Contains(o.out, c.out)) << c.what << ": output\n" << o.out;
        EXPECT_TRUE(Contains(o.err, c.err)) << c.what << ": errors\n" << o.err;
        const bool probeOk = !Contains(o.out, probeFailed);
        EXPECT_EQ(c.getMade, probeOk) << c.what;
        bool getSeen = false;
        for (const auto& r : standin::Requests())
            getSeen = getSeen || r.method == "GET";
        EXPECT_EQ(c.getMade, getSeen) << c.what;
    }
    closesocket(mute);
    WSACleanup();
}

TEST_F(DownloaderTest, RedirectsAreFollowedAtMostFiveTimes)
{
    Download(CaseUrl("redirect-loop"), dir / "dravo_com_installer.exe");
    EXPECT_EQ(6u, standin::Requests().size());  // the first request and five redirects
}

TEST_F(DownloaderTest, AddressOf1023CharactersIsFetchedWholeALongerOneNotAtAll)
{
    const std::string base = CaseUrl("generated") + "?pad=";
    const std::string path = dir / "dravo_com_installer.exe";
    const std::string fits = base + std::string(1023 - base.size(), 'p');
    Outcome o = Download(fits, path);
    EXPECT_EQ(100, o.result);
    auto requests = standin::Requests();
    ASSERT_EQ(2u, requests.size());
    for (const auto& r : requests)
        EXPECT_EQ(fits.substr(standin::BaseUrl().size()), r.path);

    // Cut to 1023 characters it would still name the generated file, but not the one asked for.
    standin::Reset();
    WriteFile(path, "an older setup program");
    o = Download(fits + "CUT-OFF", path);
    EXPECT_EQ(0, o.result);
    EXPECT_TRUE(standin::Requests().empty());
    EXPECT_EQ("an older setup program", Contents(path));
}

TEST_F(DownloaderTest, TargetThatCannotBeWrittenGivesZero)
{
    // a folder that does not exist: the first block cannot be written
    const std::string missing = dir / "no such folder\\dravo_com_installer.exe";
    Outcome o = Download(CaseUrl("generated"), missing);
    EXPECT_EQ(0, o.result);
    EXPECT_TRUE(Contains(o.err, "curl told us 23\n")) << o.err;
    EXPECT_TRUE(Contains(o.out, "\nstuFtpFile.ncount["));
    EXPECT_FALSE(Exists(dir / "no such folder"));

    // a folder in the target's place: the complete file cannot be put there
    const std::string folder = dir / "dravo_com_installer.exe";
    CreateDirectoryA(folder.c_str(), nullptr);
    o = Download(CaseUrl("generated"), folder);
    EXPECT_EQ(0, o.result);
    EXPECT_TRUE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(Exists(folder + ".part"));
}

// Records what a notifier receives in place of the window.
struct NotifierLog {
    std::vector<int> progress;
    std::vector<int> finished;
    DWORD thread = 0;
};

TEST_F(DownloaderTest, NotifierReceivesBothNotificationsInsteadOfTheWindow)
{
    NotifierLog log;
    stuFtpNotifier notifier = {
        [](void* c, int percent) { static_cast<NotifierLog*>(c)->progress.push_back(percent); },
        [](void* c, int result) {
            static_cast<NotifierLog*>(c)->finished.push_back(result);
            static_cast<NotifierLog*>(c)->thread = GetCurrentThreadId();
        },
        &log};
    standin::SetReply("/seam/dravo_com_installer.exe", {200, Generated(300000), {}, false});
    NotifyWindow window;
    set_notify_hwnd(window.hwnd());
    set_ftp_notifier(&notifier);

    const std::string path = dir / "dravo_com_installer.exe";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    DWORD workerId = 0;
    std::thread worker([&] {
        workerId = GetCurrentThreadId();
        ftp_download(standin::Url("/seam/dravo_com_installer.exe").c_str(), path.c_str());
    });
    worker.join();
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();

    EXPECT_EQ(std::vector<int>({100}), log.finished);
    EXPECT_EQ(workerId, log.thread);
    ASSERT_FALSE(log.progress.empty());
    EXPECT_EQ(100, log.progress.back());
    EXPECT_TRUE(Contents(path) == Generated(300000));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window.hwnd(), 0, 0, PM_REMOVE))
        << "the window got " << msg.message;
    EXPECT_TRUE(window.progress.empty());
}

TEST_F(DownloaderTest, WithoutAWindowNoProgressIsSentAndTheCompletionIsPostedAnyway)
{
    standin::SetReply("/nowindow/dravo_com_installer.exe", {200, Generated(200000), {}, false});
    set_notify_hwnd(nullptr);
    const std::string path = dir / "dravo_com_installer.exe";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    // on this thread: a completion posted to no window lands in this thread's queue
    const std::string url = standin::Url("/nowindow/dravo_com_installer.exe");
    EXPECT_EQ(0, ftp_download(url.c_str(), path.c_str()));
    const std::string out = testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Contains(out, "\n persent[100%]"));

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_DOWNLOAD_FINISHED,
                             WM_DOWNLOAD_FINISHED, PM_REMOVE));
    EXPECT_EQ(nullptr, msg.hwnd);
    EXPECT_EQ(100u, msg.wParam);
    EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_DOWNLOAD_PROGRESS,
                              WM_DOWNLOAD_PROGRESS, PM_REMOVE));
    EXPECT_TRUE(Contents(path) == Generated(200000));
}

// Streams a file of over 200 MiB to disk: the body must not gather in memory.
TEST_F(DownloaderTest, LargeFileIsStreamedWithFlatMemory)
{
    PROCESS_MEMORY_COUNTERS before = {};
    before.cb = sizeof(before);
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof(before));
    const std::string path = dir / "dravo_com_installer.exe";
    const DWORD start = GetTickCount();
    Outcome o = Download(CaseUrl("large"), path);
    const DWORD elapsed = GetTickCount() - start;
    PROCESS_MEMORY_COUNTERS after = {};
    after.cb = sizeof(after);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof(after));

    EXPECT_EQ(100, o.result);
    const double mib = 1024.0 * 1024.0;
    printf("large download: %.1f MiB in %lu ms; peak working set %.1f MiB before, %.1f after\n",
           kLargeSize / mib, elapsed, before.PeakWorkingSetSize / mib,
           after.PeakWorkingSetSize / mib);
    RecordProperty("PeakWorkingSetBytes", std::to_string(after.PeakWorkingSetSize));
    // Holding the body would add its 200 MiB; streaming adds at most buffers.
    EXPECT_LT(after.PeakWorkingSetSize, before.PeakWorkingSetSize + 32 * 1024 * 1024);

    // the whole file, block by block
    FILE* f = fopen(path.c_str(), "rb");
    ASSERT_NE(nullptr, f);
    std::string chunk(1 << 20, '\0');
    size_t offset = 0, n;
    bool same = true;
    while (same && (n = fread(&chunk[0], 1, chunk.size(), f)) > 0) {
        same = chunk.compare(0, n, Generated(n, offset)) == 0;
        offset += n;
    }
    fclose(f);
    EXPECT_TRUE(same) << "differs in the MiB at " << offset;
    EXPECT_EQ(kLargeSize, offset);
}

}  // namespace
