#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_entry.h"

namespace kestavian {
namespace {

namespace fs = std::filesystem;

// Every input the fuzzer was seeded with or found a fault with goes through the same entry point
// in every test run, so a mended fault stays mended without the fuzzer.
TEST(FuzzCorpus, EveryInputIsReadParsedTimedAndDrawnWithoutAFault) {
    std::vector<fs::path> inputs;
    for (const fs::directory_entry& entry : fs::directory_iterator(KESTAVIAN_FUZZ_CORPUS))
        if (entry.is_regular_file())
            inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    ASSERT_GE(inputs.size(), 10u) << "corpus missing from " << KESTAVIAN_FUZZ_CORPUS;

    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        std::ifstream in(input, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        EXPECT_NO_THROW(
            fuzz::RunFuzzInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    }
}

} // namespace
} // namespace kestavian
