// Opening the largest event file the viewer takes: 32,767 lines.
#include <benchmark/benchmark.h>

#include <QPushButton>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

#include "bench/bench_dialogs.h"
#include "data/event_file_reader.h"
#include "data/item_reader.h"
#include "data/mod_input.h"
#include "window/frm_main.h"

namespace {

using namespace kestavian;

// 4681 events of 7 lines: an effect with two trucks, one with none, one with one truck.
std::string largestFile() {
    const std::string truckA =
        "10010302011405092524504121655110350623609413085620871308400000000000000000000";
    const std::string truckB =
        "10010302011405106022102881123120400584511513115000000000000000000000000000000";
    std::string content;
    content.reserve(32767 * 60);
    for (int event = 1; event <= 4681; ++event) {
        content += std::to_string(event) + "\r\n";
        content +=
            "1    1523.70    23983510.15      7.40    2\r\n" + truckA + "\r\n" + truckB + "\r\n";
        content += "2     980.12    23983509.90     12.05    0\r\n";
        content += "3     311.45    23983511.02      3.95    1\r\n" + truckB + "\r\n";
    }
    return content;
}

const std::string& fileContent() {
    static const std::string content = largestFile();
    return content;
}

void fillLines(EventStore& store) {
    ItemReader reader(fileContent());
    while (const std::optional<std::string_view> item = reader.next())
        store.FileLines.append(std::string(*item));
}

// The floor: the file's items into FileLines.
void BM_ReadItems(benchmark::State& state) {
    for (auto _ : state) {
        EventStore store;
        fillLines(store);
        benchmark::DoNotOptimize(store.FileLines.size());
    }
}
BENCHMARK(BM_ReadItems)->Unit(benchmark::kMillisecond);

void BM_ParseEventFile(benchmark::State& state) {
    EventStore store;
    fillLines(store);
    if (store.FileLines.size() != 32767)
        state.SkipWithError("the generated file does not have 32,767 lines");
    for (auto _ : state) {
        ParseEventFile(store, 3);
        benchmark::DoNotOptimize(store.NoEvents);
    }
}
BENCHMARK(BM_ParseEventFile)->Unit(benchmark::kMillisecond);

// From the disk: the items read, then the parse.
void BM_ReadAndParse(benchmark::State& state) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("kestavian_bench_" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << fileContent();
    for (auto _ : state) {
        FileItems read = readFileItems(path.string(), ViewerReadLimits);
        if (read.failure) {
            state.SkipWithError("the file could not be read");
            break;
        }
        EventStore store;
        for (std::string& item : read.items)
            store.FileLines.append(std::move(item));
        ParseEventFile(store, 3);
        benchmark::DoNotOptimize(store.NoEvents);
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
}
BENCHMARK(BM_ReadAndParse)->Unit(benchmark::kMillisecond);

// The whole Open as the user sees it: dialog answered, Editor filled, parse, lists, first event.
void BM_OpenInWindow(benchmark::State& state) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("Events_30_bench_" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << fileContent();
    frmMain window(std::make_unique<bench::OneFileDialogs>(path.string()));
    for (auto _ : state) {
        window.controls().cmdOpen->click();
        if (window.state().store.NoEvents != 4681) {
            state.SkipWithError("the file was not opened");
            break;
        }
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
}
BENCHMARK(BM_OpenInWindow)->Unit(benchmark::kMillisecond);

} // namespace
