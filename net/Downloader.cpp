#include "net/Downloader.h"

#include <cstring>
#include <string>

#include <curl/curl.h>

#include "net/TlsPolicy.h"

HWND notify_hwnd = nullptr;
int last_percent = 0;

const stuFtpTimeLimits kDefaultFtpTimeLimits = {15000, 1024, 30};

namespace {

// Any single character will do: the download host asks for credentials but checks none.
const char kPassword[] = "x";
// A redirect chain longer than this is a server fault, not a way to the file.
const long kMaxRedirects = 5;

stuFtpTimeLimits g_limits = kDefaultFtpTimeLimits;
stuFtpNotifier g_notifier = {};
bool g_hasNotifier = false;

// The rules both requests follow beyond their own options: HTTPS only (redirects included,
// at most kMaxRedirects of them), the build's certificate policy, and the time limits.
// The connection cache, TLS sessions and name look-ups that the probe and the transfer of the
// ftp_download running on this thread share: the transfer goes over the probe's connection when
// the server keeps it open, one TCP and TLS handshake per attempt instead of two. Null outside
// ftp_download (the requests then use their own).
thread_local CURLSH* t_share = nullptr;

void ApplyTransferRules(CURL* curl)
{
    if (t_share != nullptr)
        curl_easy_setopt(curl, CURLOPT_SHARE, t_share);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
    ApplyTlsPolicy(curl);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, g_limits.connect_timeout_ms);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, g_limits.low_speed_limit);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, g_limits.low_speed_time);
}

void NotifyProgress(int percent)
{
    if (g_hasNotifier) {
        if (g_notifier.progress != nullptr)
            g_notifier.progress(g_notifier.context, percent);
    } else if (notify_hwnd != nullptr) {
        SendMessageA(notify_hwnd, WM_DOWNLOAD_PROGRESS, static_cast<WPARAM>(percent), 0);
    }
}

void NotifyFinished(int result)
{
    if (g_hasNotifier) {
        if (g_notifier.finished != nullptr)
            g_notifier.finished(g_notifier.context, result);
    } else {
        // Without a registered window this posts to the worker thread's own queue, where
        // nobody reads it; the result is not checked for the same reason.
        PostMessageA(notify_hwnd, WM_DOWNLOAD_FINISHED, static_cast<WPARAM>(result), 0);
    }
}

// Puts the finished partial file in place of the target; false when it cannot.
bool MoveIntoPlace(const char* partPath, const char* path)
{
    if (MoveFileExA(partPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    fprintf(stderr, "\n cannot move %s to %s: error %lu \n", partPath, path, GetLastError());
    return false;
}

}  // namespace

void set_ftp_time_limits(const stuFtpTimeLimits* limits)
{
    g_limits = limits != nullptr ? *limits : kDefaultFtpTimeLimits;
}

void ftp_report_finished(int result)
{
    NotifyFinished(result);
}

void set_ftp_notifier(const stuFtpNotifier* notifier)
{
    g_hasNotifier = notifier != nullptr;
    g_notifier = notifier != nullptr ? *notifier : stuFtpNotifier{};
}

void set_notify_hwnd(HWND hwnd)
{
    notify_hwnd = hwnd;
}

int ftp_init()
{
    // A failed global initialisation shows up as curl_easy_init failing.
    curl_global_init(CURL_GLOBAL_ALL);
    return 0;
}

int ftp_cleanup()
{
    curl_global_cleanup();
    return 0;
}

void set_ftp_connect_param(stuFtpConnectParam* param, const char* url)
{
    if (param == nullptr) {
        printf("\n if(NULL == pstuFtpConnectParam)  set_ftp_connect_param \n ");
        return;
    }
    memset(param, 0, sizeof(*param));
    strncpy(param->user, "anonymous", sizeof(param->user) - 1);
    strncpy(param->password, kPassword, sizeof(param->password) - 1);
    snprintf(param->userpwd, sizeof(param->userpwd), "%s:%s", param->user, param->password);
    if (url != nullptr)
        strncpy(param->url, url, sizeof(param->url) - 1);
}

void set_ftp_file(stuFtpFile* file, const char* path)
{
    if (file == nullptr) {
        printf("\n if(NULL != pstuFtpFile)  set_ftp_file \n ");
        return;
    }
    file->filelen = 0;
    file->filename = path;
    file->stream = nullptr;
    file->ncount = 0;
}

// libcurl 7.88 marks the double-valued progress callback and size query as deprecated in
// favour of their curl_off_t forms; this module keeps the double forms on purpose.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

double s_get_download_file_length(const stuFtpConnectParam* param)
{
    if (param == nullptr || param->url[0] == '\0' || param->userpwd[0] == '\0') {
        printf("\n s_get_download_file_length  param error \n");
        return -1.0;
    }
    CURL* curl = curl_easy_init();
    if (curl == nullptr) {
        printf("\n s_get_download_file_length  if(NULL == p_curl_handle) \n");
        return -1.0;
    }
    curl_easy_setopt(curl, CURLOPT_URL, param->url);
    // The response header lines go to libcurl's default sink, standard output.
    curl_easy_setopt(curl, CURLOPT_HEADER, 1L);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &header_cb);
    curl_easy_setopt(curl, CURLOPT_USERPWD, param->userpwd);
    ApplyTransferRules(curl);

    double length = 0.0;
    CURLcode result = curl_easy_perform(curl);
    if (result == CURLE_OK) {
        // libcurl reports -1 when the answer announced no length.
        CURLcode info = curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD, &length);
        if (info == CURLE_OK) {
            printf("  curl_easy_getinfo CURLE_OK !\n");
        } else {
            printf("curl_easy_getinfo failed!  res = %d\n", info);
            length = 0.0;
        }
    } else {
        printf("\n s_get_download_file_length====== res = %d   \n", result);
        length = -1.0;
    }
    curl_easy_cleanup(curl);
    return length;
}

int s_download_file(const stuFtpConnectParam* param, stuFtpFile* file)
{
    if (param == nullptr || file == nullptr || param->url[0] == '\0' ||
        param->userpwd[0] == '\0') {
        printf("\n param error \n");
        return -1;
    }
    CURL* curl = curl_easy_init();
    if (curl == nullptr) {
        printf("\n s_get_download_file_length  if(NULL == p_curl_handle) \n");
        return -1;
    }
    curl_easy_setopt(curl, CURLOPT_URL, param->url);
    curl_easy_setopt(curl, CURLOPT_USERPWD, param->userpwd);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &write_file_cb);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
    curl_easy_setopt(curl, CURLOPT_PROGRESSFUNCTION, &progress_cb);
    curl_easy_setopt(curl, CURLOPT_PROGRESSDATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    ApplyTransferRules(curl);

    CURLcode result = curl_easy_perform(curl);
    long status = 0;
    curl_off_t announced = -1;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    curl_easy_cleanup(curl);

    if (result == CURLE_OK)
        printf("curl told us %d! finish!!!!!\n", result);
    else
        fprintf(stderr, "curl told us %d\n", result);

    // The whole body of a successful answer, and nothing else: an error page, a body cut
    // short or longer than either announcement, or no body at all is not the setup program.
    const bool complete = result == CURLE_OK && status >= 200 && status <= 299 &&
                          file->ncount >= 1 &&
                          (announced < 0 || file->ncount == static_cast<double>(announced)) &&
                          (file->filelen <= 0 || file->ncount == file->filelen);
    if (!complete && result == CURLE_OK) {
        fprintf(stderr,
                "\n download incomplete: status %ld, %.0f bytes, %.0f announced, %.0f probed \n",
                status, file->ncount, static_cast<double>(announced), file->filelen);
    }
    return complete ? 0 : 1;
}

#pragma GCC diagnostic pop

size_t write_file_cb(void* data, size_t size, size_t nmemb, stuFtpFile* file)
{
    if (file == nullptr || file->filename == nullptr)
        return static_cast<size_t>(-1);
    if (file->stream == nullptr) {
        // Opened by the first block of body data: an answer without a body creates nothing.
        file->stream = fopen(file->filename, "wb");
        if (file->stream == nullptr)
            return static_cast<size_t>(-1);
    }
    file->ncount += static_cast<double>(size * nmemb);
    return fwrite(data, size, nmemb, file->stream);
}

int progress_cb(void* /*clientp*/, double dltotal, double dlnow, double /*ultotal*/,
                double /*ulnow*/)
{
    if (!(dltotal > 0))
        return 0;
    // Within 0 to 100 whatever the counts say: more bytes than announced is not more than
    // done, and a count outside int's range must not reach the conversion.
    const double share = 100.0 * dlnow / dltotal;
    const int percent = share >= 100.0 ? 100 : share > 0.0 ? static_cast<int>(share) : 0;
    if (percent == last_percent)
        return 0;
    last_percent = percent;
    printf("\n persent[%d%%]", percent);
    NotifyProgress(percent);
    return 0;
}

size_t header_cb(void* /*data*/, size_t size, size_t nmemb, void* /*userdata*/)
{
    return size * nmemb;
}

int ftp_download(const char* url, const char* path)
{
    bool ok = false;
    ftp_init();

    stuFtpConnectParam param;
    memset(&param, 0, sizeof(param));
    set_ftp_connect_param(&param, url);

    // The body is written beside the target and takes its place only once it is complete.
    // Without a target path every block fails to be written, and the download fails with it.
    const bool hasPath = path != nullptr && path[0] != '\0';
    const std::string partPath = hasPath ? std::string(path) + ".part" : std::string();
    stuFtpFile file;
    memset(&file, 0, sizeof(file));
    set_ftp_file(&file, hasPath ? partPath.c_str() : nullptr);

    CURLSH* share = curl_share_init();
    if (share != nullptr) {
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    }
    t_share = share;

    // The record keeps 1023 characters of the address. A longer one would be cut, and the cut
    // address names another file than the one asked for: it counts as a failed probe, without
    // any request.
    const bool addressFits = url == nullptr || strlen(url) < sizeof(param.url);
    if (!addressFits)
        printf("\n ftp_download  address longer than 1023 characters \n");
    file.filelen = addressFits ? s_get_download_file_length(&param) : -1.0;
    if (file.filelen == -1.0) {
        printf("\n s_get_download_file_length error \n");
    } else {
        printf("\n#####  file len = %lf #####\n", file.filelen);
        const int transfer = s_download_file(&param, &file);
        if (transfer >= 0) {
            printf("\nstuFtpFile.ncount[%lf]\n", file.ncount);
            bool written = transfer == 0;
            if (file.stream != nullptr) {
                // A failed flush at close means the data on disk is not what arrived.
                written = ferror(file.stream) == 0 && written;
                written = fclose(file.stream) == 0 && written;
                file.stream = nullptr;
            }
            ok = written && MoveIntoPlace(partPath.c_str(), path);
        }
    }
    if (!ok && hasPath)
        DeleteFileA(partPath.c_str());

    // Both requests' handles are gone by now; the shared connection closes with the share.
    t_share = nullptr;
    if (share != nullptr)
        curl_share_cleanup(share);
    ftp_cleanup();
    NotifyFinished(ok ? 100 : 0);
    return 0;
}
