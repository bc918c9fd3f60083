// Combining zinnia's candidates with the stroke matcher's: one list, best
// first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "hwr/strokematch.h"

namespace lumiko::hwr {

// A candidate of the shape recogniser (zinnia) and its score, higher better.
struct ShapeCandidate {
    std::string character;  // UTF-8
    double score = 0;
};

// How much each kind of evidence weighs: found by make hwr-tune on
// characters and writers the report does not use. A stroke of distance
// weighs about as much as zinnia's whole score range over its first fifty
// candidates; more weight on the strokes gains under one point of top-1 and
// loses top-10, and asks more of the writer's stroke order.
struct CombineWeights {
    double shape = 1.0;      // per unit of zinnia's score
    double strokes = 1.0;    // per stroke of distance
    // Per step of log2 of the character's frequency rank. Of the characters
    // zinnia did not list, the more frequent comes first among equally near
    // ones in any case.
    double frequency = 0.0;
    // The shape score given to a character zinnia did not list (or does not
    // know: it knows the GB2312 characters only): its last listed score less
    // this.
    double unlistedShape = 0.0;
    // zinnia's score counts up to this much above the unlisted one. A cap
    // of 0.6 gains under a point of top-1 on the tuning characters, by
    // leaning further on the stroke order, which centre-lines always get
    // right and people do not: left uncapped.
    double shapeCap = 1e9;
    // The shape score given to a character outside zinnia's model, of which
    // zinnia can say nothing: the unlisted one plus this. On the tuning
    // characters 0.25 costs those of GB2312 1.4 points of top-1 (0.3 of
    // top-10) and gains those outside it 4.6 (0.4); 1.0 would cost 12.
    double unknownShape = 0.25;
};

// The evidence about one character: zinnia's score, if it listed it, its
// stroke distance and its frequency rank.
struct Evidence {
    std::string_view character;  // UTF-8, a view into the inputs of gather()
    bool listed = false;         // among zinnia's candidates
    bool known = true;           // in zinnia's model at all
    double shape = 0;            // zinnia's score, when listed
    double distance = 0;         // strokes
    uint32_t rank = 0;
};

// The characters worth weighing: every character of `shape` (zinnia's
// candidates, best first) with its stroke distance to `drawn` (the drawing's
// stroke classes), and the stroke index's nearest characters. The views
// point into `shape` and `near`, which the caller keeps. `shapeModel`, when
// given, holds the characters zinnia's model knows.
using CharacterSet = std::unordered_set<std::string_view>;
std::vector<Evidence> gather(const std::vector<ShapeCandidate>& shape, std::string_view drawn,
                             const StrokeIndex& index, std::vector<StrokeMatch>& near,
                             const CharacterSet* shapeModel = nullptr);

// The best `count` of the gathered characters by weighted evidence, for
// zinnia's candidates `shape` (best first).
std::vector<std::string> rank(std::vector<Evidence> evidence, const std::vector<ShapeCandidate>& shape, size_t count,
                              const CombineWeights& weights);

// gather() and rank() in one.
std::vector<std::string> combine(const std::vector<ShapeCandidate>& shape, std::string_view drawn,
                                 const StrokeIndex& index, size_t count, const CombineWeights& weights = {},
                                 const CharacterSet* shapeModel = nullptr);

}  // namespace lumiko::hwr
