#include "net/RemoteConfig.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <map>
#include <stdexcept>
#include <system_error>
#include <thread>

#include <nlohmann/json.hpp>

#include "BuildConfig.h"

using nlohmann::json;

namespace {

const char kConfigPath[] = "/dravoServer/config/getAppConfig";
const char kRequestBody[] = "{\"productId\":\"2000001\"}";

// True when "code" is a number that truncates toward zero to 200. Values outside the 32-bit
// range are never 200, whatever their low bits.
bool IsCode200(const json& code)
{
    if (code.is_number_unsigned())
        return code.get<std::uint64_t>() == 200;
    if (code.is_number_integer())
        return code.get<std::int64_t>() == 200;
    return std::trunc(code.get<double>()) == 200.0;
}

// The service's answer is three levels deep (object, "data" array, entry). A far deeper one is
// refused before it is parsed: printing a value ("User: ") recurses once per level, and a
// value nested 100000 levels deep overflows the stack of the thread it runs on. (Parsing and
// destroying a value take no stack per level.)
const size_t kMaxNesting = 256;

// True when arrays and objects in text, counted outside strings, nest deeper than maxDepth.
// Exact for valid JSON; for anything else the parser reports its own error afterwards.
bool NestsDeeperThan(const std::string& text, size_t maxDepth)
{
    size_t depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;  // the escaped character cannot end the string
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth)
                return true;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

// The request's diagnostic lines: label, text, line end, written at once. They go through C
// stdio and not the C++ streams, which would bring about 800 KB of locale support into the
// installer (the streams' set-up builds every facet for two character types and two string
// ABIs). The text is written whole, NUL bytes included.
void PrintLine(FILE* stream, const char* label, const std::string& text)
{
    fputs(label, stream);
    fwrite(text.data(), 1, text.size(), stream);
    fputc('\n', stream);
    fflush(stream);
}

// The request StartDownloadUrlRequest started: its thread, and FetchDownloadUrl's result and
// the address it found, written by that thread and read after joining it. A request nobody
// finished is waited for when the program ends (within the request's own time limits).
struct EarlyRequest {
    std::thread thread;
    int result = 0;
    std::string url;
    ~EarlyRequest()
    {
        if (thread.joinable())
            thread.join();
    }
};
EarlyRequest g_earlyRequest;

bool IsWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::string ConfigServiceUrl()
{
    return std::string("https://") + INSTALLER_CONFIG_HOST + kConfigPath;
}

int FetchDownloadUrl(std::string& url)
{
    return FetchDownloadUrl(url, ConfigServiceUrl(), CHttpClient::Limits{});
}

int FetchDownloadUrl(std::string& url, const std::string& serviceUrl,
                     const CHttpClient::Limits& limits)
{
    CHttpClient client(limits);
    const std::map<std::string, std::string> headers{{"Content-Type", "application/json"}};
    std::string response;
    try {
        response = client.Post(serviceUrl, kRequestBody, headers);
    } catch (const std::exception& e) {
        PrintLine(stderr, "Error: ", e.what());
        return 0;
    }
    return ApplyConfigAnswer(response, url);
}

void StartDownloadUrlRequest()
{
    if (g_earlyRequest.thread.joinable())
        return;
    try {
        g_earlyRequest.thread = std::thread([] {
            g_earlyRequest.result = FetchDownloadUrl(g_earlyRequest.url);
        });
    } catch (const std::system_error&) {
        // No thread: FinishDownloadUrlRequest asks the service itself.
    }
}

int FinishDownloadUrlRequest(std::string& url)
{
    if (!g_earlyRequest.thread.joinable())
        return FetchDownloadUrl(url);
    g_earlyRequest.thread.join();
    // FetchDownloadUrl assigns the address only when it found one.
    if (g_earlyRequest.result == 1)
        url = g_earlyRequest.url;
    return g_earlyRequest.result;
}

int ApplyConfigAnswer(const std::string& response, std::string& url)
{
    if (response.empty())
        return 0;
    try {
        if (NestsDeeperThan(response, kMaxNesting))
            throw std::runtime_error("answer nested deeper than " + std::to_string(kMaxNesting) +
                                     " levels");
        json doc = json::parse(response);
        if (doc.contains("code") && doc["code"].is_number()) {
            std::string message;
            if (doc.contains("message") && doc["message"].is_string())
                message = doc["message"].get<std::string>();
            if (IsCode200(doc["code"]) && message == "success") {
                // Elements are addressed with operator[]: one that is not an object throws a
                // type error and ends the request below; a missing member reads as null.
                for (auto& element : doc["data"]) {
                    const json& key = element["configKey"];
                    PrintLine(stdout, "User: ", key.dump());
                    if (element.contains("configKey") && key == "download_url") {
                        url = element["configValue"].get<std::string>();
                        return 1;
                    }
                }
            }
        }
        PrintLine(stdout, "POST Response: ", response);
        return 0;
    } catch (const std::exception& e) {
        PrintLine(stderr, "Error: ", e.what());
        return 0;
    }
}

std::string Trim(const std::string& text)
{
    size_t first = 0;
    while (first < text.size() && IsWhitespace(text[first]))
        ++first;
    if (first == text.size())
        return std::string();
    size_t last = text.size() - 1;
    while (last > first && IsWhitespace(text[last]))
        --last;
    return text.substr(first, last - first + 1);
}
