// BenchCurlLoop.exe URL PATH: the reference for the downloader's throughput. The smallest
// download libcurl allows, from the same static libcurl with the same TLS back end, CA and
// certificate rules as the product: one GET, no progress callback, every block written to
// PATH. Prints the bench line (BenchReport.h).
#include <cstdio>

#include <curl/curl.h>

#include "net/TlsPolicy.h"
#include "tools/bench/BenchReport.h"

namespace {

size_t WriteBlock(void* data, size_t size, size_t nmemb, void* stream)
{
    return fwrite(data, size, nmemb, static_cast<FILE*>(stream));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: BenchCurlLoop.exe URL PATH\n");
        return 2;
    }
    FILE* file = fopen(argv[2], "wb");
    if (file == nullptr) {
        fprintf(stderr, "cannot open %s\n", argv[2]);
        return 2;
    }
    curl_global_init(CURL_GLOBAL_ALL);
    CURL* curl = curl_easy_init();
    if (curl == nullptr) {
        fclose(file);
        return 2;
    }
    curl_easy_setopt(curl, CURLOPT_URL, argv[1]);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteBlock);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
    ApplyTlsPolicy(curl);

    BenchClock clock;
    const CURLcode result = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    const bool closed = fclose(file) == 0;
    const double seconds = clock.Seconds();
    curl_easy_cleanup(curl);
    curl_global_cleanup();

    if (result != CURLE_OK)
        fprintf(stderr, "curl: %s\n", curl_easy_strerror(result));
    const bool ok = result == CURLE_OK && status == 200 && closed;
    PrintBenchLine(FileSize(argv[2]), seconds, ok);
    return ok ? 0 : 1;
}
