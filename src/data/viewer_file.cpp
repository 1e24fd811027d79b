#include "data/viewer_file.h"

#include <algorithm>
#include <exception>

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

bool onlyBlankItemsFrom(const OneBasedArray<std::string>& items, long item) {
    for (long i = std::max(item, 1L); i <= items.size(); ++i)
        if (!items.at(i).empty())
            return false;
    return true;
}

} // namespace kestavian
