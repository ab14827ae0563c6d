// Reading the values of the install progress file once the profile functions have found them:
// plain text rules, kept apart from the platform so that they also build, and are tested and
// fuzzed, natively.
#include <climits>

#include "workflow/StagingArea.h"

int ParseInstallPercent(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    // Gathered as a magnitude that stops growing once it is out of range either way.
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude <= limit)
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (negative)
        return magnitude >= limit ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}
