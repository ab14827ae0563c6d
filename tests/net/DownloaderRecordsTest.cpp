// The downloader's records and callbacks on their own, and the driver's refusals that need no
// server: what the connect record keeps of an address, how the write callback opens and counts,
// what percentages the progress callback reports for any counts. Also built natively on Linux
// and run under AddressSanitizer and UndefinedBehaviorSanitizer.
#include "net/Downloader.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace {

using testfs::FileExists;
using testfs::ReadWholeFile;
using testfs::TempFolder;
using testfs::WriteWholeFile;

TEST(DownloaderRecords, ConnectParamIsFilledAndTheAddressCutAt1023Characters)
{
    struct Case {
        size_t length;
        size_t kept;
    } cases[] = {{0, 0}, {1, 1}, {1022, 1022}, {1023, 1023}, {1024, 1023}, {5000, 1023},
                 {100 * 1024, 1023}};
    for (const auto& c : cases) {
        std::string url(c.length, 'u');
        for (size_t i = 0; i < url.size(); ++i)
            url[i] = static_cast<char>('a' + i % 26);
        stuFtpConnectParam p;
        memset(&p, 0x55, sizeof(p));
        set_ftp_connect_param(&p, url.c_str());
        EXPECT_EQ(url.substr(0, c.kept), std::string(p.url)) << c.length;
        EXPECT_EQ('\0', p.url[1023]);
        EXPECT_STREQ("anonymous", p.user);
        EXPECT_EQ(1u, strlen(p.password));
        EXPECT_EQ(std::string("anonymous:") + p.password, p.userpwd);
        // zero-filled behind every text
        EXPECT_EQ('\0', p.user[sizeof(p.user) - 1]);
        EXPECT_EQ('\0', p.userpwd[sizeof(p.userpwd) - 1]);
        EXPECT_EQ('\0', p.password[sizeof(p.password) - 1]);
    }
}

TEST(DownloaderRecords, NullRecordsAndNullTextsAreReportedNotFollowed)
{
    testing::internal::CaptureStdout();
    set_ftp_connect_param(nullptr, "https://x/");
    set_ftp_file(nullptr, "C:\\x");
    EXPECT_EQ(-1.0, s_get_download_file_length(nullptr));
    EXPECT_EQ(-1, s_download_file(nullptr, nullptr));
    stuFtpConnectParam empty;
    set_ftp_connect_param(&empty, nullptr);
    EXPECT_EQ(-1.0, s_get_download_file_length(&empty));
    EXPECT_EQ(
        "\n if(NULL == pstuFtpConnectParam)  set_ftp_connect_param \n "
        "\n if(NULL != pstuFtpFile)  set_ftp_file \n "
        "\n s_get_download_file_length  param error \n"
        "\n param error \n"
        "\n s_get_download_file_length  param error \n",
        testing::internal::GetCapturedStdout());
}

TEST(DownloaderRecords, WriteCallbackOpensTheFileWithTheFirstBlockAndCountsEveryBlock)
{
    TempFolder dir;
    const std::string path = dir / "out.exe";
    stuFtpFile f;
    memset(&f, 0x55, sizeof(f));
    set_ftp_file(&f, path.c_str());
    EXPECT_EQ(nullptr, f.stream);
    EXPECT_EQ(0.0, f.ncount);
    EXPECT_EQ(0.0, f.filelen);
    EXPECT_FALSE(FileExists(path));

    char first[] = "MZ\x90";
    char second[] = "\0\x01\x02\x03";
    EXPECT_EQ(3u, write_file_cb(first, 1, 3, &f));
    ASSERT_NE(nullptr, f.stream);
    EXPECT_EQ(4u, write_file_cb(second, 1, 4, &f));
    EXPECT_EQ(0u, write_file_cb(second, 1, 0, &f));  // an empty block changes nothing
    EXPECT_EQ(7.0, f.ncount);
    fclose(f.stream);
    EXPECT_EQ(std::string("MZ\x90\0\x01\x02\x03", 7), ReadWholeFile(path));

    EXPECT_EQ(static_cast<size_t>(-1), write_file_cb(first, 1, 3, nullptr));
    // The record borrows the path: it must outlive the record's use.
    const std::string unreachable = dir.Path() + "/no such folder/out.exe";
    stuFtpFile missing;
    set_ftp_file(&missing, unreachable.c_str());
    EXPECT_EQ(static_cast<size_t>(-1), write_file_cb(first, 1, 3, &missing));
    EXPECT_EQ(nullptr, missing.stream);
    stuFtpFile nameless;
    set_ftp_file(&nameless, nullptr);
    EXPECT_EQ(static_cast<size_t>(-1), write_file_cb(first, 1, 3, &nameless));
    EXPECT_EQ(5u, header_cb(first, 1, 5, nullptr));
}

// Records what the notifier receives in place of the window.
struct NotifierLog {
    std::vector<int> progress;
    std::vector<int> finished;
};

stuFtpNotifier NotifierFor(NotifierLog& log)
{
    return {[](void* c, int percent) { static_cast<NotifierLog*>(c)->progress.push_back(percent); },
            [](void* c, int result) { static_cast<NotifierLog*>(c)->finished.push_back(result); },
            &log};
}

class DownloaderNotifierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        notifier = NotifierFor(log);
        set_ftp_notifier(&notifier);
        last_percent = 0;  // as at process start
    }
    void TearDown() override
    {
        set_ftp_notifier(nullptr);
        last_percent = 0;
    }
    NotifierLog log;
    stuFtpNotifier notifier = {};
};

TEST_F(DownloaderNotifierTest, ProgressStaysWithin0To100WhateverTheCounts)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double total, now;
    } calls[] = {
        {1000, 500},    // 50
        {1000, 4096},   // more than announced: 100, not 409
        {1000, -5},     // 0
        {1, 1e300},     // far beyond int's range: 100
        {1000, nan},    // 0
        {1000, inf},    // 100
        {8e18, 4e18},   // sizes beyond 32 and 63 bits: 50
        {0, 10},        // no size known: nothing
        {-1, 10},       // nothing
        {nan, 10},      // nothing
        {-inf, 10},     // nothing
        {1000, 999.9},  // 99
    };
    testing::internal::CaptureStdout();
    for (const auto& c : calls)
        EXPECT_EQ(0, progress_cb(nullptr, c.total, c.now, 0, 0));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::vector<int>({50, 100, 0, 100, 0, 100, 50, 99}), log.progress);
    EXPECT_EQ(99, last_percent);
    EXPECT_NE(std::string::npos, out.find("\n persent[99%]")) << out;
}

// The driver's refusals, each before any data can arrive: a failed attempt with completion 0
// that leaves the target as it was.
TEST_F(DownloaderNotifierTest, AddressesTheDriverCannotTakeFailBeforeAnyTransfer)
{
    TempFolder dir;
    const std::string path = dir / "dravo_com_installer.exe";
    // Port 1 on loopback: nothing listens, so a request that is made fails at once.
    const std::string base = "https://127.0.0.1:1/dravo_com_installer.exe?pad=";
    const struct {
        const char* what;
        std::string url;
        bool requestMade;
        std::string out;  // standard output contains this
    } cases[] = {
        {"address of 1023 characters", base + std::string(1023 - base.size(), 'p'), true,
         "s_get_download_file_length====== res = 7 "},
        {"address of 1024 characters", base + std::string(1024 - base.size(), 'p'), false,
         "\n ftp_download  address longer than 1023 characters \n"},
        {"address of 100 KiB", base + std::string(100 * 1024, 'p'), false,
         "\n ftp_download  address longer than 1023 characters \n"},
        {"empty address", "", false, "\n s_get_download_file_length  param error \n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log = NotifierLog();
        ASSERT_TRUE(WriteWholeFile(path, "an older setup program"));
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(0, ftp_download(c.url.c_str(), path.c_str()));
        const std::string out = testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::vector<int>{0}, log.finished);
        EXPECT_TRUE(log.progress.empty());
        EXPECT_NE(std::string::npos, out.find(c.out)) << out;
        EXPECT_NE(std::string::npos, out.find("\n s_get_download_file_length error \n")) << out;
        EXPECT_EQ(c.requestMade, out.find("s_get_download_file_length======") != std::string::npos)
            << out;
        EXPECT_EQ("an older setup program", ReadWholeFile(path));
        EXPECT_FALSE(FileExists(path + ".part"));
    }
}

}  // namespace
