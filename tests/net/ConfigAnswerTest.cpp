// The configuration answer handling without the network: the same table of answers as the
// test over HTTPS, straight into ApplyConfigAnswer; and Trim. Also built natively on Linux and
// run under AddressSanitizer and UndefinedBehaviorSanitizer.
#include "net/RemoteConfig.h"

#include <gtest/gtest.h>

#include "tests/net/ConfigAnswerCases.h"

namespace {

TEST(ConfigAnswer, AnswersAreAcceptedAndChosenFrom)
{
    for (const auto& c : config_cases::AnswerCases()) {
        SCOPED_TRACE(c.name);
        std::string url = "previous";
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        int result = ApplyConfigAnswer(c.body, url);
        std::string out = testing::internal::GetCapturedStdout();
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.url, url);
        EXPECT_EQ(c.out, out);
        EXPECT_EQ(c.errStart, err.substr(0, c.errStart.size())) << err;
        if (c.errStart.empty()) {
            EXPECT_EQ("", err);
        }
    }
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
