#include "tests/support/StandIn.h"

#include <stdexcept>

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "StandInConfig.h"

namespace standin {
namespace {

size_t Append(char* data, size_t size, size_t n, std::string* out)
{
    out->append(data, size * n);
    return size * n;
}

std::string Exchange(const std::string& path, const std::string* postBody)
{
    CURL* curl = curl_easy_init();
    if (curl == nullptr)
        throw std::runtime_error("curl_easy_init failed");
    std::string response;
    const std::string url = Url(path);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_CAINFO, STANDIN_CA_FILE);
    curl_easy_setopt(curl, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Append);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
    if (postBody != nullptr) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, postBody->data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(postBody->size()));
    }
    CURLcode rc = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    if (rc != CURLE_OK || status != 200)
        throw std::runtime_error("stand-in control " + path + " failed: " + curl_easy_strerror(rc) +
                                 " status " + std::to_string(status));
    return response;
}

std::string Base64(const std::string& bytes)
{
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned v = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8 |
                     (unsigned char)bytes[i + 2];
        out += {kAlphabet[v >> 18], kAlphabet[(v >> 12) & 63], kAlphabet[(v >> 6) & 63], kAlphabet[v & 63]};
    }
    if (i + 1 == bytes.size()) {
        unsigned v = (unsigned char)bytes[i] << 16;
        out += {kAlphabet[v >> 18], kAlphabet[(v >> 12) & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        unsigned v = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8;
        out += {kAlphabet[v >> 18], kAlphabet[(v >> 12) & 63], kAlphabet[(v >> 6) & 63], '='};
    }
    return out;
}

}  // namespace

std::string BaseUrl()
{
    return STANDIN_BASE_URL;
}

std::string Url(const std::string& path)
{
    return BaseUrl() + path;
}

void SetReply(const std::string& path, const Reply& reply)
{
    nlohmann::json spec{{"path", path},
                        {"status", reply.status},
                        {"body_b64", Base64(reply.body)},
                        {"headers", reply.headers},
                        {"hang", reply.hang},
                        {"chunked", reply.chunked},
                        {"repeat", reply.repeat}};
    const std::string body = spec.dump();
    Exchange("/_standin/reply", &body);
}

void HandOutDownloadUrl(const std::string& url)
{
    Reply config;
    config.body =
        R"({"code":200,"message":"success","data":[{"configKey":"download_url","configValue":")" +
        url + R"("}]})";
    SetReply("/dravoServer/config/getAppConfig", config);
}

void Reset()
{
    const std::string empty;
    Exchange("/_standin/reset", &empty);
}

std::vector<Request> Requests()
{
    std::vector<Request> requests;
    // The stand-in sends bodies as Latin-1 text; turn each character back into its byte.
    auto bytes = [](const std::string& utf8) {
        std::string out;
        for (size_t i = 0; i < utf8.size(); ++i) {
            unsigned char c = utf8[i];
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (i + 1 < utf8.size()) {
                out += static_cast<char>(((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F));
                ++i;
            }
        }
        return out;
    };
    for (const auto& r : nlohmann::json::parse(Exchange("/_standin/requests", nullptr))) {
        Request request;
        request.method = r["method"].get<std::string>();
        request.path = r["path"].get<std::string>();
        request.clientPort = r.value("client_port", 0);
        request.body = bytes(r["body"].get<std::string>());
        for (const auto& h : r["headers"])
            request.headers.emplace_back(h[0].get<std::string>(), h[1].get<std::string>());
        requests.push_back(request);
    }
    return requests;
}

std::string Request::Header(const std::string& name) const
{
    for (const auto& [key, value] : headers)
        if (_stricmp(key.c_str(), name.c_str()) == 0)
            return value;
    return std::string();
}

}  // namespace standin
