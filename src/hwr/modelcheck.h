// The handwriting model's structure, checked in full before zinnia reads
// it: zinnia trusts every count and end mark of the file, so a damaged one
// would crash or abort the panel.
#pragma once

#include <cstddef>
#include <string>

namespace lumiko::hwr {

// Why the model's bytes are not a whole, sound zinnia model, in words; empty
// when they are. Checked: the header (the size it records, the format
// version, the number of characters), every character's name (a
// terminated, non-empty name in its 16 bytes), its bias and feature list
// (finite numbers, ascending indices, an end mark inside the file), and
// that the last character ends exactly where the file does.
std::string checkModel(const char* data, size_t size);

}  // namespace lumiko::hwr
