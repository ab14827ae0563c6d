// Every HTTPS exchange of the installer is verified against the build's CA file: the genuine
// stand-in is accepted; the same service behind a certificate from a CA nobody trusts, or
// behind one made out for another host name, is refused.
#include "net/RemoteConfig.h"

#include <windows.h>

#include "net/Downloader.h"

#include <gtest/gtest.h>

#include "StandInConfig.h"
#include "tests/support/StandIn.h"

namespace {

const char kConfigPath[] = "/dravoServer/config/getAppConfig";

TEST(Certificates, ConfigurationRequestTrustsOnlyTheGenuineService)
{
    standin::Reset();
    const struct {
        const char* name;
        std::string base;
        int result;
    } cases[] = {
        {"genuine", STANDIN_BASE_URL, 1},
        {"certificate from another CA", STANDIN_FORGED_URL, 0},
        {"certificate for another host", STANDIN_WRONGHOST_URL, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string url = "previous";
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        int result = FetchDownloadUrl(url, c.base + kConfigPath, CHttpClient::Limits{});
        std::string out = testing::internal::GetCapturedStdout();
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(c.result, result);
        if (c.result == 0) {
            EXPECT_EQ("previous", url);
            EXPECT_EQ("", out);
            EXPECT_EQ("Error: cURL error: ", err.substr(0, 19)) << err;
        } else {
            EXPECT_EQ(standin::Url("/download/dravo_com_installer.exe"), url);
            EXPECT_EQ("", err);
        }
    }
    // The refused ones were turned away during the handshake, before any request was read.
    EXPECT_EQ(1u, standin::Requests().size());
}

TEST(Certificates, DownloaderTrustsOnlyTheGenuineHost)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string target = std::string(temp) + "cert-test-setup.exe";
    int completion = -1;
    stuFtpNotifier notifier{nullptr, [](void* c, int r) { *static_cast<int*>(c) = r; }, &completion};
    set_ftp_notifier(&notifier);

    const struct {
        const char* name;
        std::string base;
        int completion;
    } cases[] = {
        {"certificate from another CA", STANDIN_FORGED_URL, 0},
        {"certificate for another host", STANDIN_WRONGHOST_URL, 0},
        {"genuine", STANDIN_BASE_URL, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(target.c_str());
        completion = -1;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        ftp_download((c.base + "/download/dravo_com_installer.exe").c_str(), target.c_str());
        testing::internal::GetCapturedStdout();
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(c.completion, completion);
        const bool written = GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES;
        EXPECT_EQ(c.completion == 100, written) << err;
    }
    set_ftp_notifier(nullptr);
    DeleteFileA(target.c_str());
}

}  // namespace
