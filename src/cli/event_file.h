#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "data/mod_input.h"
#include "data/mod_udts.h"

namespace kestavian::cli {

// An event file read and parsed the way the viewer's Open command does it: the same reading rule,
// item limit and parser, so counts and stops are the viewer's.
class EventFile {
public:
    // Reads path and parses it with noEffects effect blocks per event. A parse stopped by a bad
    // line keeps the events before it, as the viewer does. False, with a reason, when the file
    // cannot be read at all.
    bool load(const QString& path, std::int16_t noEffects, std::string& reason);

    const EventStore& store() const { return store_; }
    const std::optional<ParseStop>& stop() const { return stop_; }

    // The span the viewer takes from the file's name without asking, if the name holds one.
    std::optional<float> spanFromName() const;

private:
    EventStore store_;
    std::optional<ParseStop> stop_;
};

// Loads the file named on a command line. A file that cannot be read is reported on err (false);
// with noteStop, a parse stopped by a bad line is noted there too.
bool loadForCommand(EventFile& file, const QString& path, std::int16_t noEffects, bool noteStop,
                    std::ostream& err);

// The span a command draws with: the given one, else the file name's. Reported on err when
// neither gives one.
std::optional<float> spanForCommand(const std::optional<float>& given, const EventFile& file,
                                    std::ostream& err);

// loadForCommand (noting a stopped parse) then spanForCommand: the command's view settings with
// the span in them, or nothing when the command cannot go on.
std::optional<ViewSettings> loadWithSpan(EventFile& file, const CommonOptions& options,
                                         std::ostream& err);

} // namespace kestavian::cli
