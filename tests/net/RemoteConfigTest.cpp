// FetchDownloadUrl against the configuration endpoint of the vendor stand-in: the request as
// the server sees it, the acceptance rule and the entry chosen, with the lines each answer
// prints; and Trim.
#include "net/RemoteConfig.h"

#include <gtest/gtest.h>

#include "BuildConfig.h"
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

struct AnswerCase {
    const char* name;
    int status;
    std::string body;
    int result;
    std::string url;     // after the call; "previous" means unchanged
    std::string out;     // exact standard output
    std::string errStart;  // standard error starts with this ("" means empty)
};

TEST_F(RemoteConfigTest, AnswersAreAcceptedAndChosenFrom)
{
    const std::string ok = R"("code":200,"message":"success")";
    auto answer = [&](const std::string& data) { return "{" + ok + ",\"data\":" + data + "}"; };
    const std::string twoKeys = answer(
        R"([{"configKey":"other","configValue":"x"},{"configKey":"download_url","configValue":"https://a/b.exe"}])");
    const std::string twoUrls = answer(
        R"([{"configKey":"download_url","configValue":"https://first/"},{"configKey":"download_url","configValue":"https://second/"}])");
    const std::string codeText = R"({"code":"200","message":"success","data":[{"configKey":"download_url","configValue":"u"}]})";
    const std::string codeFloat = R"({"code":200.9,"message":"success","data":[{"configKey":"download_url","configValue":"u"}]})";
    const std::string codeBig = R"({"code":4294967496,"message":"success","data":[{"configKey":"download_url","configValue":"u"}]})";
    const std::string code404 = R"({"code":404,"message":"success","data":[{"configKey":"download_url","configValue":"u"}]})";
    const std::string noCode = R"({"message":"success","data":[{"configKey":"download_url","configValue":"u"}]})";
    const std::string caseMsg = R"({"code":200,"message":"Success","data":[{"configKey":"download_url","configValue":"u"}]})";
    const std::string msgNumber = R"({"code":200,"message":1,"data":[{"configKey":"download_url","configValue":"u"}]})";
    const std::string emptyData = answer("[]");
    const std::string noData = "{" + ok + "}";
    const std::string nonObject = answer(R"(["download_url"])");
    const std::string nullElement = answer(R"([null,{"configValue":"x"},{"configKey":"download_url","configValue":"v"}])");
    const std::string keyNotString = answer(R"([{"configKey":["download_url"],"configValue":"x"}])");
    const std::string valueNotString = answer(R"([{"configKey":"download_url","configValue":7}])");
    const std::string valueMissing = answer(R"([{"configKey":"download_url"}])");
    const std::string blanks = answer(R"([{"configKey":"download_url","configValue":"  https://a/b.exe \r\n"}])");
    const std::string chinese = answer("[{\"configKey\":\"\xE4\xB8\x8B\xE8\xBD\xBD\",\"configValue\":\"x\"}]");  // UTF-8
    const std::string html = "<html><body>502 Bad Gateway</body></html>";

    const AnswerCase cases[] = {
        {"other key then download_url", 200, twoKeys, 1, "https://a/b.exe",
         "User: \"other\"\nUser: \"download_url\"\n", ""},
        {"two download_url entries", 200, twoUrls, 1, "https://first/", "User: \"download_url\"\n", ""},
        {"code as a string", 200, codeText, 0, "previous", "POST Response: " + codeText + "\n", ""},
        {"code 200.9", 200, codeFloat, 1, "u", "User: \"download_url\"\n", ""},
        {"code beyond 32 bits", 200, codeBig, 0, "previous", "POST Response: " + codeBig + "\n", ""},
        {"code 404", 200, code404, 0, "previous", "POST Response: " + code404 + "\n", ""},
        {"no code", 200, noCode, 0, "previous", "POST Response: " + noCode + "\n", ""},
        {"message case", 200, caseMsg, 0, "previous", "POST Response: " + caseMsg + "\n", ""},
        {"message not a string", 200, msgNumber, 0, "previous", "POST Response: " + msgNumber + "\n", ""},
        {"empty data", 200, emptyData, 0, "previous", "POST Response: " + emptyData + "\n", ""},
        {"no data", 200, noData, 0, "previous", "POST Response: " + noData + "\n", ""},
        {"element not an object", 200, nonObject, 0, "previous", "", "Error: [json.exception.type_error"},
        {"null element and element without key", 200, nullElement, 1, "v",
         "User: null\nUser: null\nUser: \"download_url\"\n", ""},
        {"configKey not a string", 200, keyNotString, 0, "previous",
         "User: [\"download_url\"]\nPOST Response: " + keyNotString + "\n", ""},
        {"configValue not a string", 200, valueNotString, 0, "previous", "User: \"download_url\"\n",
         "Error: [json.exception.type_error"},
        {"configValue missing", 200, valueMissing, 0, "previous", "User: \"download_url\"\n",
         "Error: [json.exception.type_error"},
        {"blanks kept for Trim", 200, blanks, 1, "  https://a/b.exe \r\n", "User: \"download_url\"\n", ""},
        {"Chinese key", 200, chinese, 0, "previous",
         "User: \"\xE4\xB8\x8B\xE8\xBD\xBD\"\nPOST Response: " + chinese + "\n", ""},
        {"HTML page", 200, html, 0, "previous", "", "Error: [json.exception.parse_error.101]"},
        {"404 with an HTML body", 404, html, 0, "previous", "", "Error: [json.exception.parse_error.101]"},
        {"empty body", 200, "", 0, "previous", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        standin::SetReply(kConfigPath, {c.status, c.body, {{"Content-Type", "application/json"}}, false});
        Outcome o = Fetch();
        EXPECT_EQ(c.result, o.result);
        EXPECT_EQ(c.url, o.url);
        EXPECT_EQ(c.out, o.out);
        if (c.errStart.empty())
            EXPECT_EQ("", o.err);
        else
            EXPECT_EQ(c.errStart, o.err.substr(0, c.errStart.size())) << o.err;
        EXPECT_EQ('\n', c.errStart.empty() ? '\n' : o.err.back());
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

TEST(Trim, RemovesSurroundingWhitespaceOnly)
{
    const struct {
        std::string in, out;
    } cases[] = {
        {"  two words  ", "two words"},
        {"   ", ""},
        {"", ""},
        {"plain", "plain"},
        {"https://a/b.exe\r\n", "https://a/b.exe"},
        {"\t\v\f x \n", "x"},
        {"x", "x"},
        {" 德拉沃 ", "德拉沃"},
        {"\xA1\xA0", "\xA1\xA0"},  // bytes of 0x80 and above are never whitespace
        {std::string("\0a\0", 3), std::string("\0a\0", 3)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.out, Trim(c.in)) << "[" << c.in << "]";
}

}  // namespace
