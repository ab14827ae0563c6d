// libFuzzer target: any bytes as the texts the installer reads from files and the dialog (a
// "Percent" value, a download address to trim, a setup path and an install folder). Each rule
// must take them without a crash or undefined behaviour and keep its promises.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/RemoteConfig.h"
#include "workflow/SetupLauncher.h"
#include "workflow/StagingArea.h"

namespace {

bool IsWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void Check(bool promise)
{
    if (!promise)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    ParseInstallPercent(text);
    if (text.find_first_of("0123456789") == std::string::npos)
        Check(ParseInstallPercent(text) == 0);

    const std::string trimmed = Trim(text);
    Check(text.find(trimmed) != std::string::npos);
    Check(trimmed.empty() || (!IsWhitespace(trimmed.front()) && !IsWhitespace(trimmed.back())));

    // A setup path and an install folder, split at the first line feed.
    const size_t split = text.find('\n');
    const std::string setup = text.substr(0, split);
    const std::string folder = split == std::string::npos ? "" : text.substr(split + 1);
    const std::string line = ComposeSetupCommandLine(setup, folder);
    const std::string middle = "\" /SILENT /VERYSILENT /SP- /noicons /DIR=\"";
    Check(line == "\"" + setup + middle + folder + "\"");

    // The working folder is the start of the setup path.
    const std::string working = SetupWorkingFolder(setup);
    Check(setup.compare(0, working.size(), working) == 0);
    return 0;
}
