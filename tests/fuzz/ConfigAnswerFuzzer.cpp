// libFuzzer target: any bytes as the configuration service's answer. The handling may accept
// or refuse them, but must never crash, leak or run into undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>

#include "net/RemoteConfig.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The diagnostics would flood the fuzzer's output.
    std::cout.setstate(std::ios::failbit);
    std::cerr.setstate(std::ios::failbit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string url = "previous";
    std::string answer(reinterpret_cast<const char*>(data), size);
    int result = ApplyConfigAnswer(answer, url);
    if (result != 0 && result != 1)
        __builtin_trap();
    if (result == 0 && url != "previous")
        __builtin_trap();
    std::string trimmed = Trim(url);
    if (trimmed.size() > url.size())
        __builtin_trap();
    return 0;
}
