// The five stroke classes of a drawn stroke, as the panel's stroke tables
// code them: horizontal (and rising) 1, vertical 2, left-falling 3, dot and
// right-falling 4, turning 5.
#pragma once

#include <string>

#include "hwr/strokes.h"

namespace lumiko::hwr {

// The class ('1' to '5') of one drawn stroke, in a character whose larger
// side is `extent` long (the scale for "short" and for the wobble of a
// hand). A short hook at either end does not make a turning stroke, and a
// stroke drawn the wrong way round (a horizontal from the right, a vertical
// upwards) is still the same stroke.
char classifyStroke(const Stroke& stroke, double extent);

// The classes of all strokes of a character, in drawing order: "2511" for a
// drawn 口 written in four strokes.
std::string strokeCode(const Strokes& strokes);

}  // namespace lumiko::hwr
