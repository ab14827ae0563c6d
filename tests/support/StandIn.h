// Test-side control of the vendor stand-in (tools/vendor/vendor_server.py): what it answers,
// and what it was asked. Every call is one HTTPS exchange with the stand-in's /_standin/ API.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace standin {

// "https://127.0.0.1:<port>" of this build tree's stand-in
std::string BaseUrl();
std::string Url(const std::string& path);

struct Reply {
    int status = 200;
    std::string body;                           // bytes, sent as they are
    std::map<std::string, std::string> headers; // in addition to Content-Length
    bool hang = false;                          // accept the request, never answer
    bool chunked = false;                       // no Content-Length: the body in chunks
    int repeat = 1;                             // the body sent this many times over
};

// Every later request for path gets this reply.
void SetReply(const std::string& path, const Reply& reply);
// From now on the configuration service answers with success and this "download_url" (put
// into the JSON as it is: escapes in url stay escapes).
void HandOutDownloadUrl(const std::string& url);
// Forget every reply set and every request seen.
void Reset();

struct Request {
    std::string method;
    std::string path;
    int clientPort = 0;  // the client's end of the connection it came over
    std::vector<std::pair<std::string, std::string>> headers;  // as received, in order
    std::string body;
    // value of the first header with that name (case-insensitive), or "" when absent
    std::string Header(const std::string& name) const;
};
std::vector<Request> Requests();

}  // namespace standin
