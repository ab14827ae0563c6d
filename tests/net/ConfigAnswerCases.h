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
    };
}

}  // namespace config_cases
