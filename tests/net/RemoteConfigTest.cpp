// FetchDownloadUrl against the configuration endpoint of the vendor stand-in: the request as
// the server sees it, the acceptance rule and the entry chosen, with the lines each answer
// prints; the same request started ahead; and Trim.
#include "net/RemoteConfig.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "BuildConfig.h"
#include "tests/net/ConfigAnswerCases.h"
#include "tests/support/StandIn.h"

namespace {

const char kConfigPath[] = "/dravoServer/config/getAppConfig";

struct Outcome {
    int result;
    std::string url;
    std::string out;
    std::string err;
};

Outcome Fetch(const CHttpClient::Limits& limits = {}, const std::string& service = ConfigServiceUrl())
{
    Outcome o;
    o.url = "previous";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    o.result = FetchDownloadUrl(o.url, service, limits);
    o.out = testing::internal::GetCapturedStdout();
    o.err = testing::internal::GetCapturedStderr();
    return o;
}

class RemoteConfigTest : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }
};

TEST_F(RemoteConfigTest, ServiceAddressIsBuiltFromTheConfigurationHost)
{
    EXPECT_EQ(std::string("https://") + INSTALLER_CONFIG_HOST + kConfigPath, ConfigServiceUrl());
    EXPECT_EQ(standin::Url(kConfigPath), ConfigServiceUrl());  // development build
}

TEST_F(RemoteConfigTest, RequestIsOneJsonPostWithTheProductId)
{
    std::string url;
    testing::internal::CaptureStdout();
    EXPECT_EQ(1, FetchDownloadUrl(url));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(standin::Url("/download/dravo_com_installer.exe"), url);

    auto requests = standin::Requests();
    ASSERT_EQ(1u, requests.size());
    const auto& r = requests[0];
    EXPECT_EQ("POST", r.method);
    EXPECT_EQ(kConfigPath, r.path);
    EXPECT_EQ("{\"productId\":\"2000001\"}", r.body);
    EXPECT_EQ(23u, r.body.size());
    EXPECT_EQ("application/json", r.Header("Content-Type"));
    EXPECT_EQ("23", r.Header("Content-Length"));
}

TEST_F(RemoteConfigTest, AnswersAreAcceptedAndChosenFrom)
{
    for (const auto& c : config_cases::AnswerCases()) {
        SCOPED_TRACE(c.name);
        standin::SetReply(kConfigPath, {c.status, c.body, {{"Content-Type", "application/json"}}, false});
        Outcome o = Fetch();
        EXPECT_EQ(c.result, o.result);
        EXPECT_EQ(c.url, o.url);
        EXPECT_EQ(c.out, o.out);
        EXPECT_EQ(c.errStart, o.err.substr(0, c.errStart.size())) << o.err;
        if (c.errStart.empty()) {
            EXPECT_EQ("", o.err);
        }
    }
}

TEST_F(RemoteConfigTest, TransferFailuresPrintTheCurlErrorAndKeepTheAddress)
{
    Outcome refused = Fetch({}, "https://127.0.0.1:1/dravoServer/config/getAppConfig");
    EXPECT_EQ(0, refused.result);
    EXPECT_EQ("previous", refused.url);
    EXPECT_EQ("", refused.out);
    EXPECT_EQ("Error: cURL error: Couldn't connect to server\n", refused.err);

    standin::SetReply(kConfigPath, {200, "", {}, true});
    Outcome hung = Fetch(CHttpClient::Limits{2000, 1500});
    EXPECT_EQ(0, hung.result);
    EXPECT_EQ("previous", hung.url);
    EXPECT_EQ("Error: cURL error: Timeout was reached\n", hung.err);
}

TEST_F(RemoteConfigTest, AnswersOverOneMebibyteFailTheExchange)
{
    // A valid answer padded to the size wanted: within the limit it is taken like any other.
    const std::string head =
        R"({"code":200,"message":"success","data":[{"configKey":"download_url",)"
        R"("configValue":"https://a/b.exe"}],"pad":")";
    auto padded = [&](size_t size) { return head + std::string(size - head.size() - 2, 'p') + "\"}"; };
    const size_t kMiB = 1024 * 1024;
    const struct {
        const char* what;
        standin::Reply reply;
        int result;
    } cases[] = {
        {"1 MiB with its length", {200, padded(kMiB), {}, false, false}, 1},
        {"1 MiB in chunks", {200, padded(kMiB), {}, false, true}, 1},
        {"1 MiB and a byte with its length", {200, padded(kMiB + 1), {}, false, false}, 0},
        {"1 MiB and a byte in chunks", {200, padded(kMiB + 1), {}, false, true}, 0},
        {"50 MiB with its length", {200, std::string(kMiB, '['), {}, false, false, 50}, 0},
        {"50 MiB in chunks", {200, std::string(kMiB, '['), {}, false, true, 50}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        standin::SetReply(kConfigPath, c.reply);
        Outcome o = Fetch();
        EXPECT_EQ(c.result, o.result);
        if (c.result == 1) {
            EXPECT_EQ("https://a/b.exe", o.url);
            EXPECT_EQ("User: \"download_url\"\n", o.out);
            EXPECT_EQ("", o.err);
        } else {
            EXPECT_EQ("previous", o.url);
            EXPECT_EQ("", o.out);
            EXPECT_EQ("Error: cURL error: Maximum file size exceeded\n", o.err);
        }
    }
}

// Started ahead, the request runs while the starting thread goes on, and finishing it gives
// what FetchDownloadUrl would; without a start, finishing makes the request there and then.
TEST_F(RemoteConfigTest, RequestStartedAheadGivesWhatTheDirectRequestGives)
{
    const std::string withAddress =
        R"({"code":200,"message":"success","data":[)"
        R"({"configKey":"download_url","configValue":"https://a/b.exe"}]})";
    const std::string without = R"({"code":200,"message":"success","data":[]})";
    const struct {
        const char* what;
        bool startAhead;
        std::string answer;
        int result;
        std::string url;
        std::string out;
    } cases[] = {
        {"ahead, with an address", true, withAddress, 1, "https://a/b.exe",
         "User: \"download_url\"\n"},
        {"ahead, without one", true, without, 0, "previous", "POST Response: " + without + "\n"},
        {"not started, with an address", false, withAddress, 1, "https://a/b.exe",
         "User: \"download_url\"\n"},
        {"not started, without one", false, without, 0, "previous",
         "POST Response: " + without + "\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        standin::Reset();
        standin::SetReply(kConfigPath,
                          {200, c.answer, {{"Content-Type", "application/json"}}, false});
        testing::internal::CaptureStdout();
        if (c.startAhead) {
            StartDownloadUrlRequest();
            // Under way with nobody waiting for it yet.
            bool seen = false;
            for (int i = 0; i < 200 && !seen; ++i) {
                seen = !standin::Requests().empty();
                if (!seen)
                    Sleep(50);
            }
            EXPECT_TRUE(seen);
        } else {
            EXPECT_TRUE(standin::Requests().empty());
        }
        std::string url = "previous";
        const int result = FinishDownloadUrlRequest(url);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.url, url);
        EXPECT_EQ(c.out, out);
        EXPECT_EQ(1u, standin::Requests().size());
    }
}

}  // namespace
