// Answers of the configuration service and what each must give: the acceptance rule, the
// entry chosen and the lines printed. Shared by the test over HTTPS and the direct test of the
// answer handling (which also runs natively under the sanitizers).
#pragma once

#include <string>
#include <vector>

namespace config_cases {

struct AnswerCase {
    const char* name;
    int status;
    std::string body;
    int result;
    std::string url;     // after the call; "previous" means unchanged
    std::string out;     // exact standard output
    std::string errStart;  // standard error starts with this ("" means empty)
};

inline std::vector<AnswerCase> AnswerCases()
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

    // Hostile answers. Nesting: the object, "data" and the entry are three levels, so a key
    // nested k deep makes 3 + k in all; 256 are taken, deeper answers are refused unparsed.
    auto nested = [](size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    auto withKey = [&](const std::string& key) {
        return answer("[{\"configKey\":" + key + ",\"configValue\":\"u\"}]");
    };
    auto withValue = [&](const std::string& value) {
        return answer("[{\"configKey\":\"download_url\",\"configValue\":\"" + value + "\"}]");
    };
    auto withCode = [](const std::string& code) {
        return "{\"code\":" + code +
               ",\"message\":\"success\",\"data\":[{\"configKey\":\"download_url\",\"configValue\":\"u\"}]}";
    };
    const std::string deepest = withKey(nested(253));
    const std::string tooDeep = withKey(nested(254));
    const std::string veryDeep = withKey(nested(100000));
    const std::string deepUnclosed = std::string(100000, '[');
    const std::string bracketsInText = withValue("a\\\"" + std::string(300, '[') + "{");
    const std::string longUrl = "https://localhost/" + std::string(100 * 1024, 'u');
    const std::string code2p64 = withCode("18446744073709551816");  // 2^64 + 200
    const std::string codeMinus2p64 = withCode("-18446744073709551416");
    const std::string code39digits = withCode("123456789012345678901234567890123456789");
    const std::string codeNearly200 = withCode("200.00000000000000000000000000001");
    const std::string codeOverflow = withCode("1e400");
    const std::string escapedControls = withValue("https://a/\\u0001\\u001f\\u007f");
    const std::string escapedNul = withValue("https://a/b.exe\\u0000.evil");
    const std::string rawDel = withValue("https://a/\x7f");

    return {
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

        {"key nested to 256 levels in all", 200, deepest, 0, "previous",
         "User: " + nested(253) + "\nPOST Response: " + deepest + "\n", ""},
        {"key nested to 257 levels", 200, tooDeep, 0, "previous", "",
         "Error: answer nested deeper than 256 levels\n"},
        {"key nested 100000 levels", 200, veryDeep, 0, "previous", "",
         "Error: answer nested deeper than 256 levels\n"},
        {"100000 unclosed brackets", 200, deepUnclosed, 0, "previous", "",
         "Error: answer nested deeper than 256 levels\n"},
        {"brackets inside a string do not nest", 200, bracketsInText, 1,
         "a\"" + std::string(300, '[') + "{", "User: \"download_url\"\n", ""},
        {"download_url of 100 KiB", 200, withValue(longUrl), 1, longUrl,
         "User: \"download_url\"\n", ""},
        {"configValue with a byte that is not UTF-8", 200, withValue("https://a/\xFF"), 0,
         "previous", "", "Error: [json.exception.parse_error.101]"},
        {"configValue with a cut UTF-8 sequence", 200, withValue("https://a/\xE4\xB8"), 0,
         "previous", "", "Error: [json.exception.parse_error.101]"},
        {"configValue with an overlong UTF-8 slash", 200, withValue("https://a/\xC0\xAF"), 0,
         "previous", "", "Error: [json.exception.parse_error.101]"},
        {"configValue in code page 936", 200, withValue("https://a/\xCF\xC2\xD4\xD8"), 0,
         "previous", "", "Error: [json.exception.parse_error.101]"},
        {"configValue with a lone surrogate", 200, withValue("https://a/\\ud800"), 0,
         "previous", "", "Error: [json.exception.parse_error.101]"},
        {"configValue with a raw control byte", 200, withValue("https://a/\x01"), 0, "previous",
         "", "Error: [json.exception.parse_error.101]"},
        {"configValue with a raw line end", 200, withValue("https://a/\n"), 0, "previous", "",
         "Error: [json.exception.parse_error.101]"},
        // Taken as they are; the downloader refuses such an address and the fallback serves.
        {"configValue with escaped control bytes", 200, escapedControls, 1,
         "https://a/\x01\x1f\x7f", "User: \"download_url\"\n", ""},
        {"configValue with an escaped NUL", 200, escapedNul, 1,
         std::string("https://a/b.exe\0.evil", 21), "User: \"download_url\"\n", ""},
        {"configValue with a raw DEL", 200, rawDel, 1, "https://a/\x7f",
         "User: \"download_url\"\n", ""},
        {"code 2^64 + 200", 200, code2p64, 0, "previous", "POST Response: " + code2p64 + "\n", ""},
        {"code -2^64 + 200", 200, codeMinus2p64, 0, "previous",
         "POST Response: " + codeMinus2p64 + "\n", ""},
        {"code of 39 digits", 200, code39digits, 0, "previous",
         "POST Response: " + code39digits + "\n", ""},
        {"code 200 with 32 decimals", 200, codeNearly200, 1, "u", "User: \"download_url\"\n", ""},
        {"code beyond the double range", 200, codeOverflow, 0, "previous", "",
         "Error: [json.exception.out_of_range.406]"},
    };
}

}  // namespace config_cases
