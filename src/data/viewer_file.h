#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "data/event_file_reader.h"
#include "platform/one_based_array.h"

namespace kestavian {

// The viewer's Open reads a file whole, within the viewer's limits: what it keeps and what it
// shows.
struct ViewerFile {
    // Every item read, each followed by "\r\n", as the file's box shows them: also the items read
    // before a failure, and the one over the limit.
    std::string shownText;
    std::optional<ReadFailure> failure;
};

// Reads the file at path into fileLines (which must be empty): at most the viewer's 32,767 items.
// A file too large to hold in memory fails like any other that cannot be read.
ViewerFile readViewerFile(const std::string& path, OneBasedArray<std::string>& fileLines);

// True when the items from item on (1-based) are all empty. Blank lines after the last event end a
// file: a parse that stops there has read all there is.
bool onlyBlankItemsFrom(const OneBasedArray<std::string>& items, long item);

// The other number of effect blocks per event with which the items read on past the item where
// their parse stopped (see EffectCountProbe); nothing when no other count does.
std::optional<std::int16_t> effectCountReadingOn(const OneBasedArray<std::string>& items,
                                                 std::int16_t noEffects, long stopItem);

// The kestavian-cli command that cuts a file the viewer opens out of the file at path (the events
// of the 100 greatest values of load effect 1), written for a shell; for standard input, the
// command with FILE and OUT to fill in.
std::string viewerSizedExtract(const std::string& path);

} // namespace kestavian
