#include "net/TlsPolicy.h"

#include <curl/curl.h>

#include "BuildConfig.h"

void ApplyTlsPolicy(CURL* curl)
{
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
    if (INSTALLER_CA_FILE[0] != '\0')
        curl_easy_setopt(curl, CURLOPT_CAINFO, INSTALLER_CA_FILE);
}
