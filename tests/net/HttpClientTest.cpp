// CHttpClient against the vendor stand-in over real HTTPS on loopback: what goes out on the
// wire, what comes back, and how failures are raised.
#include "net/HttpClient.h"

#include <stdexcept>

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/StandIn.h"

namespace {

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }

    standin::Request OnlyRequest()
    {
        auto requests = standin::Requests();
        EXPECT_EQ(1u, requests.size());
        return requests.empty() ? standin::Request{} : requests.front();
    }

    CHttpClient client;
};

TEST_F(HttpClientTest, PostSendsBodyAndHeaderLinesInKeyOrder)
{
    standin::SetReply("/echo", {200, "answer", {}, false});
    std::string body = client.Post(standin::Url("/echo"), "{\"a\":1}",
                                   {{"X-Second", "two"}, {"A-First", "one: with colon"}});
    EXPECT_EQ("answer", body);

    auto request = OnlyRequest();
    EXPECT_EQ("POST", request.method);
    EXPECT_EQ("/echo", request.path);
    EXPECT_EQ("{\"a\":1}", request.body);
    EXPECT_EQ("one: with colon", request.Header("A-First"));
    EXPECT_EQ("two", request.Header("X-Second"));
    int first = -1, second = -1;
    for (size_t i = 0; i < request.headers.size(); ++i) {
        if (request.headers[i].first == "A-First") first = static_cast<int>(i);
        if (request.headers[i].first == "X-Second") second = static_cast<int>(i);
    }
    EXPECT_LT(first, second);
}

TEST_F(HttpClientTest, RequestWithoutPostFlagIsAGetAndAddsNoHeader)
{
    standin::SetReply("/get", {200, "got", {}, false});
    EXPECT_EQ("got", client.Request(standin::Url("/get"), "ignored body", {}, false));
    auto request = OnlyRequest();
    EXPECT_EQ("GET", request.method);
    EXPECT_EQ("", request.body);
    EXPECT_EQ("", request.Header("Content-Type"));
    EXPECT_EQ("", request.Header("User-Agent"));
}

TEST_F(HttpClientTest, BodyIsSentUpToItsFirstNulByte)
{
    standin::SetReply("/nul", {200, "", {}, false});
    client.Post(standin::Url("/nul"), std::string("ab\0cd", 5), {});
    EXPECT_EQ("ab", OnlyRequest().body);
}

TEST_F(HttpClientTest, ErrorStatusAndEmptyBodiesAreReturnedNotRaised)
{
    standin::SetReply("/missing", {404, "<html>gone</html>", {}, false});
    standin::SetReply("/empty", {200, "", {}, false});
    EXPECT_EQ("<html>gone</html>", client.Post(standin::Url("/missing"), "x", {}));
    EXPECT_EQ("", client.Post(standin::Url("/empty"), "x", {}));
}

TEST_F(HttpClientTest, RedirectIsReturnedAsItCame)
{
    standin::SetReply("/moved", {302, "moved", {{"Location", "/elsewhere"}}, false});
    EXPECT_EQ("moved", client.Request(standin::Url("/moved"), "", {}, false));
    EXPECT_EQ(1u, standin::Requests().size());
}

TEST_F(HttpClientTest, FailedTransfersRaiseCurlErrorText)
{
    struct Case {
        const char* what;
        std::string url;
        const char* message;
    } cases[] = {
        {"nothing listens", "https://127.0.0.1:1/", "cURL error: Couldn't connect to server"},
        {"plain http", "http://127.0.0.1:1/", "cURL error: Unsupported protocol"},
        {"file scheme", "file:///C:/windows/win.ini", "cURL error: Unsupported protocol"},
    };
    for (const auto& c : cases) {
        try {
            client.Post(c.url, "x", {});
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(c.message), e.what()) << c.what;
        }
    }
}

TEST_F(HttpClientTest, ServiceThatNeverAnswersEndsAtTheTimeLimit)
{
    standin::SetReply("/hang", {200, "", {}, true});
    CHttpClient impatient(CHttpClient::Limits{2000, 1500});
    DWORD start = GetTickCount();
    EXPECT_THROW(
        {
            try {
                impatient.Post(standin::Url("/hang"), "x", {});
            } catch (const std::runtime_error& e) {
                EXPECT_EQ(std::string("cURL error: Timeout was reached"), e.what());
                throw;
            }
        },
        std::runtime_error);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 1400u);
    EXPECT_LT(elapsed, 10000u);
}

}  // namespace
