// The handwriting recogniser: zinnia over the Simplified Chinese model,
// which is memory-mapped once, at the first recognition.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hwr/strokes.h"

namespace lumiko::hwr {

class Recogniser {
public:
    // modelPath: the zinnia model file. Nothing is read until the first
    // recognition asks for it.
    explicit Recogniser(std::string modelPath);
    ~Recogniser();
    Recogniser(const Recogniser&) = delete;
    Recogniser& operator=(const Recogniser&) = delete;

    // Up to `count` candidates (UTF-8 characters), best first, for the
    // drawing normalised to its bounding box (or taken as it is, in a
    // kBoxSize square, when `normalise` is false: for the accuracy report).
    // Empty when there are no strokes or the model cannot be opened (error()
    // then says why).
    std::vector<std::string> recognise(const Strokes& strokes, size_t count, bool normalise = true);

    // Opens the model now, if it is not open yet; false when it cannot be.
    bool load();
    bool loaded() const { return model_ != nullptr; }
    // Why the model could not be opened, in words; empty while all is well.
    const std::string& error() const { return error_; }
    const std::string& modelPath() const { return path_; }

private:
    struct Model;
    std::string path_;
    std::unique_ptr<Model> model_;
    std::string error_;
    bool tried_ = false;
};

}  // namespace lumiko::hwr
