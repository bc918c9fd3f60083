// The handwriting recogniser: zinnia over the Simplified Chinese model
// (memory-mapped and checked once, at the first recognition) weighed together
// with the drawing's stroke classes matched against the stroke codes of every
// GBK character, so that characters outside zinnia's model are found too.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "hwr/combine.h"
#include "hwr/strokes.h"

namespace lumiko::hwr {

// The model's bytes in memory, valid as long as `owner` lives.
struct ModelBytes {
    const char* data = nullptr;
    size_t size = 0;
    std::shared_ptr<const void> owner;
};
// Maps the model file at `path` into memory; no data and the reason in words
// in `error` when it cannot.
using ModelReader = std::function<ModelBytes(const std::string& path, std::string& error)>;

class Recogniser {
public:
    // modelPath: the zinnia model file. Nothing is read until the first
    // recognition asks for it; then its structure is checked whole before
    // zinnia reads it, and a damaged model is refused (error() names the
    // file and says what is wrong). Without a reader the file is mapped
    // through the narrow file calls of the system (on Windows those cannot
    // open a path outside the code page: the Windows panel maps the model
    // itself and passes a reader).
    explicit Recogniser(std::string modelPath, ModelReader reader = nullptr);
    ~Recogniser();
    Recogniser(const Recogniser&) = delete;
    Recogniser& operator=(const Recogniser&) = delete;

    // Up to `count` candidates (UTF-8 characters), best first, for the
    // drawing normalised to its bounding box (or taken as it is, in a
    // kBoxSize square, when `normalise` is false: for the accuracy report).
    // Empty when there are no strokes or the model cannot be opened (error()
    // then says why).
    std::vector<std::string> recognise(const Strokes& strokes, size_t count, bool normalise = true);
    // zinnia's own `count` best candidates with their scores, for a drawing
    // already in the kBoxSize square (no stroke matching).
    std::vector<ShapeCandidate> shapeCandidates(const Strokes& box, size_t count);
    // The characters the model knows (empty before it is opened).
    const CharacterSet& modelCharacters();
    // The weights recognise() combines the evidence with.
    void setWeights(const CombineWeights& weights) { weights_ = weights; }

    // Opens the model now, if it is not open yet; false when it cannot be.
    bool load();
    bool loaded() const { return model_ != nullptr; }
    // Why the model could not be opened, in words; empty while all is well.
    const std::string& error() const { return error_; }
    const std::string& modelPath() const { return path_; }

private:
    struct Model;
    std::string path_;
    ModelReader reader_;
    std::unique_ptr<Model> model_;
    std::string error_;
    bool tried_ = false;
    CombineWeights weights_;
    std::vector<std::string> modelLabels_;  // what modelCharacters_ points into
    CharacterSet modelCharacters_;
};

}  // namespace lumiko::hwr
