#pragma once

#include <string_view>

namespace kestavian::fuzz {

// Reads bytes as a stream does, in pieces of one byte and of pseudo-random sizes drawn from the
// bytes themselves, and throws std::logic_error unless every reading gives the items (with
// ranges that tile the bytes), the events and the stop of reading them whole into the store.
void CheckStreamingAgreesWithWhole(std::string_view bytes);

} // namespace kestavian::fuzz
