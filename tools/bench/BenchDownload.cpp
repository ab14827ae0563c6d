// BenchDownload.exe URL PATH: downloads URL into PATH with the product's downloader
// (ftp_download, exactly as the install worker calls it) and prints the bench line
// (BenchReport.h): body bytes, seconds, the process's peak working set, and whether the
// download reported success.
//
// The progress notifications go to a callback that only remembers the last percentage, as a
// window would be told: the figure is the downloader's own cost, not a dialog's repaint.
#include <cstdio>

#include "net/Downloader.h"
#include "tools/bench/BenchReport.h"

namespace {

struct Outcome {
    int lastPercent = -1;
    int result = -1;
};

void OnProgress(void* context, int percent)
{
    static_cast<Outcome*>(context)->lastPercent = percent;
}

void OnFinished(void* context, int result)
{
    static_cast<Outcome*>(context)->result = result;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: BenchDownload.exe URL PATH\n");
        return 2;
    }
    Outcome outcome;
    stuFtpNotifier notifier = {&OnProgress, &OnFinished, &outcome};
    set_ftp_notifier(&notifier);

    BenchClock clock;
    ftp_download(argv[1], argv[2]);
    const double seconds = clock.Seconds();

    const bool ok = outcome.result == 100 && outcome.lastPercent == 100;
    PrintBenchLine(FileSize(argv[2]), seconds, ok);
    return ok ? 0 : 1;
}
