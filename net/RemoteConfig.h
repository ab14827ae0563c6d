// The remote application configuration: asks the vendor's configuration service where the
// product's setup program is to be downloaded from.
#pragma once

#include <string>

#include "net/HttpClient.h"

// "https://" + configuration host + "/dravoServer/config/getAppConfig"
std::string ConfigServiceUrl();

// POSTs {"productId":"2000001"} to the configuration service. When the answer is accepted
// ("code" 200, "message" "success") and its "data" holds an entry with "configKey"
// "download_url", that entry's "configValue" is assigned to url and 1 is returned; in every
// other case url keeps what it held and 0 is returned. Prints "User: ", "POST Response: " and
// "Error: " diagnostics; never throws.
int FetchDownloadUrl(std::string& url);

// The same exchange with another service address or other time limits (tests).
int FetchDownloadUrl(std::string& url, const std::string& serviceUrl,
                     const CHttpClient::Limits& limits);

// The same request started ahead: StartDownloadUrlRequest runs FetchDownloadUrl on a thread of
// its own and returns at once, so that the exchange overlaps the rest of the program's start;
// FinishDownloadUrlRequest then waits for it and gives its result and its effect on url as
// FetchDownloadUrl(url) would have. Without a request started (or when no thread could be
// started for it), FinishDownloadUrlRequest makes the request itself. One request per start;
// both are called on the same thread. libcurl's global initialisation is thread-safe in this
// build, so the request may run while the starting thread goes on.
void StartDownloadUrlRequest();
int FinishDownloadUrlRequest(std::string& url);

// The acceptance rule and the choice of entry applied to the service's answer, with the same
// result, diagnostics and effect on url as FetchDownloadUrl after a successful transfer. An
// answer whose arrays and objects nest deeper than 256 levels is refused like malformed JSON
// (an "Error: " line, 0).
int ApplyConfigAnswer(const std::string& response, std::string& url);

// text without its leading and trailing whitespace (blank, \t, \n, \v, \f, \r); bytes of 0x80
// and above are never whitespace, so multi-byte characters are kept whole.
std::string Trim(const std::string& text);
