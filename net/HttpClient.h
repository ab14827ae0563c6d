// CHttpClient: a small synchronous HTTPS client over libcurl's easy interface.
//
// Construct it (libcurl's global initialisation), make calls, let it go out of scope
// (global clean-up). One call is one whole exchange on the calling thread; the response
// body comes back as bytes, a failed transfer raises std::runtime_error("cURL error: ...").
// HTTP error statuses are not failures: their bodies are returned like any other.
#pragma once

#include <cstddef>
#include <map>
#include <string>

class CHttpClient {
public:
    // Limits of one exchange. A service that accepts the connection and never answers would
    // otherwise block the caller for ever, and one that never stops sending would fill the
    // memory of this 32-bit process. An answer over maxResponseBytes fails the exchange with
    // "cURL error: Maximum file size exceeded", whether its length was announced or not.
    struct Limits {
        long connectTimeoutMs = 10000;
        long totalTimeoutMs = 30000;
        size_t maxResponseBytes = 1024 * 1024;
    };

    CHttpClient();
    explicit CHttpClient(const Limits& limits);
    ~CHttpClient();
    CHttpClient(const CHttpClient&) = delete;
    CHttpClient& operator=(const CHttpClient&) = delete;

    std::string Post(const std::string& url, const std::string& body,
                     const std::map<std::string, std::string>& headers);

    // Headers go out in the map's key order, one "name: value" line each. The body is sent
    // only when isPost, and up to its first NUL byte.
    std::string Request(const std::string& url, const std::string& body,
                        const std::map<std::string, std::string>& headers, bool isPost);

    static size_t WriteToString(void* data, size_t size, size_t nmemb, std::string* out);

private:
    struct Body;
    static size_t WriteBody(void* data, size_t size, size_t nmemb, Body* body);

    Limits m_limits;
};
