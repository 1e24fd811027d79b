#include "data/viewer_file.h"

#include <algorithm>
#include <exception>

#include "data/byte_source.h"
#include "data/effect_count_probe.h"

namespace kestavian {

ViewerFile readViewerFile(const std::string& path, OneBasedArray<std::string>& fileLines) {
    ViewerFile viewer;
    FileItems read;
    try {
        read = readFileItems(path, ViewerReadLimits);
    } catch (const std::exception&) {
        read.failure = ReadFailure{};
    }
    for (std::string& item : read.items) {
        viewer.shownText += item;
        viewer.shownText += "\r\n";
        if (static_cast<std::uint64_t>(fileLines.size()) < ViewerReadLimits.maxItems)
            fileLines.append(std::move(item));
    }
    viewer.failure = std::move(read.failure);
    return viewer;
}

namespace {

// The text as one word of a shell's command line.
std::string shellWord(const std::string& text) {
    if (!text.empty() &&
        text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                               "0123456789_./-+,=:") == std::string::npos)
        return text;
    std::string word = "'";
    for (const char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

} // namespace

std::string viewerSizedExtract(const std::string& path) {
    if (namesStandardInput(path)) // extract reads its file twice: a file it names, then
        return "kestavian-cli extract FILE --top 100 --effect 1 --out OUT";
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string stem = path.substr(folder.size());
    for (const char* ending : {".gz", ".txt"})
        if (stem.size() > std::string(ending).size() &&
            stem.compare(stem.size() - std::string(ending).size(), std::string::npos, ending) == 0)
            stem.resize(stem.size() - std::string(ending).size());
    return "kestavian-cli extract " + shellWord(path) + " --top 100 --effect 1 --out " +
           shellWord(folder + stem + "_top100.txt");
}

std::optional<std::int16_t> effectCountReadingOn(const OneBasedArray<std::string>& items,
                                                 std::int16_t noEffects, long stopItem) {
    EffectCountProbe probe(noEffects, stopItem);
    for (long i = 1; i <= items.size() && probe.push(items.at(i)); ++i) {
    }
    return probe.readsOn();
}

bool onlyBlankItemsFrom(const OneBasedArray<std::string>& items, long item) {
    for (long i = std::max(item, 1L); i <= items.size(); ++i)
        if (!items.at(i).empty())
            return false;
    return true;
}

} // namespace kestavian
