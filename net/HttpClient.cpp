#include "net/HttpClient.h"

#include <new>
#include <stdexcept>

#include <curl/curl.h>

#include "net/TlsPolicy.h"

// The response being received and how far it may grow.
struct CHttpClient::Body {
    std::string text;
    size_t maxBytes;
    bool tooLarge;
};

CHttpClient::CHttpClient() : CHttpClient(Limits{}) {}

CHttpClient::CHttpClient(const Limits& limits) : m_limits(limits)
{
    // A failed global initialisation shows up as curl_easy_init failing.
    curl_global_init(CURL_GLOBAL_ALL);
}

CHttpClient::~CHttpClient()
{
    curl_global_cleanup();
}

std::string CHttpClient::Post(const std::string& url, const std::string& body,
                              const std::map<std::string, std::string>& headers)
{
    return Request(url, body, headers, true);
}

std::string CHttpClient::Request(const std::string& url, const std::string& body,
                                 const std::map<std::string, std::string>& headers, bool isPost)
{
    Body response{std::string(), m_limits.maxResponseBytes, false};
    CURL* curl = curl_easy_init();
    if (curl == nullptr)
        return response.text;

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CHttpClient::WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response);
    // Refuses an announced length over the limit before any of the body is read; WriteBody
    // stops an answer without a length.
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(m_limits.maxResponseBytes));
    if (isPost) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
    }

    curl_slist* headerList = nullptr;
    for (const auto& [name, value] : headers)
        headerList = curl_slist_append(headerList, (name + ": " + value).c_str());
    if (headerList != nullptr)
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headerList);

    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, m_limits.connectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, m_limits.totalTimeoutMs);
    ApplyTlsPolicy(curl);

    CURLcode result = curl_easy_perform(curl);
    curl_slist_free_all(headerList);
    curl_easy_cleanup(curl);
    if (response.tooLarge)
        result = CURLE_FILESIZE_EXCEEDED;
    if (result != CURLE_OK)
        throw std::runtime_error(std::string("cURL error: ") + curl_easy_strerror(result));
    return response.text;
}

size_t CHttpClient::WriteBody(void* data, size_t size, size_t nmemb, Body* body)
{
    // Anything but the full count ends the transfer with a write error.
    if (size * nmemb > body->maxBytes - body->text.size()) {
        body->tooLarge = true;
        return 0;
    }
    return WriteToString(data, size, nmemb, &body->text);
}

size_t CHttpClient::WriteToString(void* data, size_t size, size_t nmemb, std::string* out)
{
    // No exception may leave a libcurl callback: it would unwind through libcurl's C frames,
    // which have no unwind tables. Memory running out ends the transfer with a write error.
    try {
        out->append(static_cast<const char*>(data), size * nmemb);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return size * nmemb;
}
