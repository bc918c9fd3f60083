// Characters written as stroke point lists, for the recogniser's test and
// accuracy report, and the mouse-like distortions applied to them.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "hwr/strokes.h"

namespace lumiko::hwr {

struct Sample {
    std::string character;  // UTF-8
    Strokes strokes;        // in a 1024 square, y downwards
};

// Reads lines "CHARACTER<TAB>[[[x,y],...],...]"; throws with the line number
// on a malformed one.
std::vector<Sample> readSamples(const std::string& path);

// How a hand with a mouse spoils a clean drawing.
struct Distortion {
    double jitter = 0;       // standard deviation of the wobble, in the 1024 square
    double maxRotation = 0;  // degrees either way
    double minScale = 1;     // the drawing shrinks to between this and 1…
    bool offCentre = false;  // …and is moved anywhere it still fits
};

// The strokes resampled every few units along their lines (a mouse reports
// many points, the centre-lines only their corners) and distorted.
Strokes distort(const Strokes& strokes, const Distortion& d, std::mt19937& random);

}  // namespace lumiko::hwr
