// The transport rules every transfer of the installer follows.
#pragma once

typedef void CURL;

// HTTPS only, for the first request and for redirects; revocation checks best effort (an
// unreachable revocation server must not fail the exchange); peer and host name verification
// stay at libcurl's default, on; the build's CA bundle when it names one.
void ApplyTlsPolicy(CURL* curl);
