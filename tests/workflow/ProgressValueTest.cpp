// How a "Percent" text reads, once the profile functions have found it. Also built natively on
// Linux and run under AddressSanitizer and UndefinedBehaviorSanitizer.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "workflow/StagingArea.h"

namespace {

TEST(ProgressValue, PercentIsTheLeadingDecimalIntegerWithinIntsRange)
{
    const struct {
        std::string text;
        int percent;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"100", 100},
        {"101", 101},  // read as written; the session keeps the bar within 0 to 100
        {"-5", -5},
        {"+7", 7},
        {" 42", 42},
        {"\t42", 42},
        {"42abc", 42},
        {"42 43", 42},
        {"0042", 42},
        {"0x40", 0},  // decimal only
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"- 5", 0},
        {"--5", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"4294967346", INT_MAX},  // not 50, as a 32-bit wrap would make it
        {"99999999999999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999999999999999", INT_MIN},
        {std::string(1 << 20, '9'), INT_MAX},
        {"\xA1\xA3" "42", 0},  // a double-byte character first
        {std::string("4\0" "2", 3), 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.percent, ParseInstallPercent(c.text)) << '"' << c.text.substr(0, 40) << '"';
}

}  // namespace
