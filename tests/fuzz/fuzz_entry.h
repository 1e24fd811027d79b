#pragma once

#include <cstddef>
#include <cstdint>

namespace kestavian::fuzz {

// Runs one untrusted input through everything an Open does with a file and everything a display
// of its effects does: the reading rule, the parser (for a few numbers of effects per event
// taken from the first byte), the timing lines, the scrubber fit and one scene per effect drawn
// on a picture the size of the window's.
//
// Refusing the input with a RuntimeError is the expected outcome and is caught here. Anything
// else escapes: a broken invariant of the event store is thrown as std::logic_error, and any
// other exception, sanitizer report, crash or hang is a fault.
void RunFuzzInput(const std::uint8_t* data, std::size_t size);

} // namespace kestavian::fuzz
