#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_entry.h"

// The drawing measures text, which needs an application object for its fonts; one is made before
// the first input, on the offscreen platform so that no display is needed.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kestavian_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestavian::fuzz::RunFuzzInput(data, size);
    return 0;
}
