#pragma once

#include <cstddef>
#include <cstdint>

namespace kestavian::fuzz {

// Runs one untrusted input through everything an Open and a display of its effects do: reading
// (whole and streamed in chunks), parsing, timing, the scrubber and the scenes. A RuntimeError is
// a refusal, caught here; a broken invariant escapes as std::logic_error; any other exception,
// sanitizer report, crash or hang is a fault.
void RunFuzzInput(const std::uint8_t* data, std::size_t size);

} // namespace kestavian::fuzz
