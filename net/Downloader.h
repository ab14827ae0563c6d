// The setup file downloader: fetches the setup program from an HTTPS address into a local file
// and tells the installer dialog how far it has got and how it ended.
//
// Order of use: the dialog registers its window once with set_notify_hwnd; the install worker
// then calls ftp_download(url, path) on its own thread, one download at a time. ftp_download
// asks the server for the file's size (HEAD), transfers the body (GET) and finally posts
// WM_DOWNLOAD_FINISHED with 100 when the file at path is the complete file the server sent,
// or 0 otherwise. On the way, every new whole percentage is sent as WM_DOWNLOAD_PROGRESS, and
// the transfer waits until the dialog has handled it.
//
// The body goes to path + ".part" and is renamed to path only when it is complete; a failed
// download leaves whatever was at path before untouched and removes its partial file.
//
// The other functions are the steps of ftp_download and libcurl's callbacks; they are public
// so that each can be tested on its own. Diagnostics go to standard output and standard error.
#pragma once

#include <cstddef>
#include <cstdio>

#include <windows.h>

// Sent (SendMessageA, synchronous) with the whole percentage in wParam.
#define WM_DOWNLOAD_PROGRESS 2026
// Posted (PostMessageA) with 100 (complete) or 0 (failed) in wParam.
#define WM_DOWNLOAD_FINISHED 2056

// What the requests present: HTTP Basic credentials for an anonymous user.
struct stuFtpConnectParam {
    char user[150];
    char password[100];
    char url[1024];      // at most 1023 characters of the address; a longer one is cut
    char userpwd[250];   // "user:password"
};
static_assert(sizeof(stuFtpConnectParam) == 1524, "the connect record is 1524 bytes");

// The output file of one transfer; lives on the driver's stack.
struct stuFtpFile {
    const char* filename;  // borrowed from the caller for the whole transfer
    FILE* stream;          // opened by the first block of body data, closed by the driver
    double filelen;        // size the probe reported
    double ncount;         // body bytes received so far
};

// Time limits of the probe and the transfer. A server that never finishes the connection, or
// that stops sending, ends the download with an error instead of holding the worker for ever.
struct stuFtpTimeLimits {
    long connect_timeout_ms;  // connection and TLS handshake
    long low_speed_limit;     // bytes per second; slower than this for ...
    long low_speed_time;      // ... this many seconds ends the transfer
};
// 15 s to connect; under 1 KiB/s for 30 s ends a transfer.
extern const stuFtpTimeLimits kDefaultFtpTimeLimits;
// Process-wide; null restores the defaults. Tests shorten them; call it between downloads only.
void set_ftp_time_limits(const stuFtpTimeLimits* limits);

// Where the two notifications go instead of the window, for code and tests without one.
// progress is called on the download thread and the transfer waits until it returns;
// finished is called once at the end of every ftp_download and must not wait for anything.
struct stuFtpNotifier {
    void (*progress)(void* context, int percent);
    void (*finished)(void* context, int result);
    void* context;
};
// Process-wide; null goes back to the registered window. Call it between downloads only.
void set_ftp_notifier(const stuFtpNotifier* notifier);

// Process-wide values: the registered window (null until set_notify_hwnd), and the last
// percentage sent, which starts at 0 and is kept from one download to the next.
extern HWND notify_hwnd;
extern int last_percent;

void set_notify_hwnd(HWND hwnd);

// Delivers a completion as ftp_download does at its end (the notifier, or the posted
// WM_DOWNLOAD_FINISHED), for an attempt that ended before it could download anything.
void ftp_report_finished(int result);

// Downloads url into path and posts the outcome; always returns 0. An address longer than the
// record's 1023 characters fails without any request.
int ftp_download(const char* url, const char* path);

int ftp_init();     // libcurl's global initialisation; 0
int ftp_cleanup();  // libcurl's global clean-up; 0

void set_ftp_connect_param(stuFtpConnectParam* param, const char* url);
void set_ftp_file(stuFtpFile* file, const char* path);

// The size the server announces for url (following HTTPS redirects); -1.0 when the request
// failed or announced no size, 0 when the size could not be read.
double s_get_download_file_length(const stuFtpConnectParam* param);

// Transfers the body into file. -1: the transfer did not start; 0: it ran and delivered the
// whole body of a 2xx answer; 1: it ran but did not (libcurl error, other status, fewer or
// more bytes than announced, nothing at all).
int s_download_file(const stuFtpConnectParam* param, stuFtpFile* file);

// libcurl's callbacks.
size_t write_file_cb(void* data, size_t size, size_t nmemb, stuFtpFile* file);
int progress_cb(void* clientp, double dltotal, double dlnow, double ultotal, double ulnow);
size_t header_cb(void* data, size_t size, size_t nmemb, void* userdata);
