#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/fuzz_entry.h"
#include "support/record_builders.h"

namespace kestavian {
namespace {

// Every input the fuzzer was seeded with or found a fault with goes through the same entry point
// in every test run, so a mended fault stays mended without the fuzzer.
TEST(FuzzCorpus, EveryInputIsReadParsedTimedAndDrawnWithoutAFault) {
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KESTAVIAN_FUZZ_CORPUS)) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bytes = test::fileText(entry.path());
        EXPECT_NO_THROW(
            fuzz::RunFuzzInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        ++inputs;
    }
    EXPECT_GE(inputs, 10) << "corpus missing from " << KESTAVIAN_FUZZ_CORPUS;
}

} // namespace
} // namespace kestavian
