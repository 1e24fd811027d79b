#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kestavian::bench {

// A long run of 130,000 events (about 1.1 million lines), made once by the project's own generator
// and kept in the temp folder for later runs, as kestavian-cli's bench keeps it; empty when it
// cannot be made.
inline const std::string& longRun() {
    static const std::string path = [] {
        const std::filesystem::path file =
            std::filesystem::temp_directory_path() / "kestavian_bench" / "Events_30_130000.txt";
        if (!std::filesystem::exists(file)) {
            const std::string command = "python3 '" KESTAVIAN_TOOLS
                                        "/make_examples.py' --events 130000 --out '" +
                                        file.string() + "'";
            if (std::system(command.c_str()) != 0)
                return std::string();
        }
        return file.string();
    }();
    return path;
}

// Its first 32,767 lines: the largest file the viewer opens, with a long run's times.
inline const std::string& viewerSizedRun() {
    static const std::string path = [] {
        if (longRun().empty())
            return std::string();
        const std::filesystem::path file =
            std::filesystem::path(longRun()).parent_path() / "Events_30_32767_lines.txt";
        if (!std::filesystem::exists(file)) {
            std::ifstream source(longRun(), std::ios::binary);
            std::ofstream target(file, std::ios::binary);
            std::string line;
            for (int i = 0; i < 32767 && std::getline(source, line); ++i)
                target << line << '\n';
        }
        return file.string();
    }();
    return path;
}

} // namespace kestavian::bench
