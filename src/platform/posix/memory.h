// Memory the panel can give back while it waits for the user.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumiko::posix {

// Whether a file mapped into the process is a font file (.ttf, .ttc, .otf,
// .otc, any case).
bool isFontFile(std::string_view path);

// Unmaps the pages of the font files the text engine has mapped read-only
// (`mapsFile` is the process's smaps). The files stay mapped and the pages
// stay in the system's file cache; a glyph drawn later maps its pages again
// from there. A font touched while loading maps megabytes of tables the
// panel reads once (every glyph's width, the character maps of all the
// faces of a collection), kept counted against the panel until unmapped.
// Only mappings that are read-only and hold no page of their own (never
// written) are unmapped. Gives the number of mappings unmapped.
std::size_t releaseFontPages(const std::string& mapsFile = "/proc/self/smaps");

}  // namespace lumiko::posix
