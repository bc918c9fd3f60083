// The zinnia recogniser behind the handwriting pad.
#include "hwr/recogniser.h"

#include <zinnia.h>

#include <cmath>
#include <limits>
#include <utility>

#include "hwr/strokeclass.h"

namespace lumiko::hwr {

namespace {
// How many of zinnia's candidates are weighed against the strokes.
constexpr size_t kShapeCandidates = 50;
}  // namespace

struct Recogniser::Model {
    ModelBytes bytes;  // when a reader mapped the file: outlives the recogniser below
    zinnia_recognizer_t* recognizer = zinnia_recognizer_new();
    zinnia_character_t* character = zinnia_character_new();
    ~Model() {
        zinnia_character_destroy(character);
        zinnia_recognizer_destroy(recognizer);
    }
};

Recogniser::Recogniser(std::string modelPath, ModelReader reader)
    : path_(std::move(modelPath)), reader_(std::move(reader)) {}
Recogniser::~Recogniser() = default;

bool Recogniser::load() {
    if (model_) return true;
    if (tried_) return false;  // a missing model is not looked for at every stroke
    tried_ = true;
    auto model = std::make_unique<Model>();
    std::string why;
    bool opened;
    if (reader_) {
        model->bytes = reader_(path_, why);
        opened = model->bytes.data &&
                 zinnia_recognizer_open_from_ptr(model->recognizer, model->bytes.data, model->bytes.size);
    } else {
        // zinnia maps the file into memory; it stays mapped until exit.
        opened = zinnia_recognizer_open(model->recognizer, path_.c_str());
    }
    if (!opened) {
        if (why.empty()) why = zinnia_recognizer_strerror(model->recognizer);
        error_ = "the handwriting model " + path_ + " cannot be opened: " + why;
        return false;
    }
    model_ = std::move(model);
    error_.clear();
    return true;
}

std::vector<ShapeCandidate> Recogniser::shapeCandidates(const Strokes& box, size_t count) {
    std::vector<ShapeCandidate> out;
    if (box.empty() || count == 0 || !load()) return out;
    zinnia_character_t* c = model_->character;
    zinnia_character_clear(c);
    zinnia_character_set_width(c, kBoxSize);
    zinnia_character_set_height(c, kBoxSize);
    for (size_t id = 0; id < box.size(); ++id)
        for (const Point& p : box[id])
            zinnia_character_add(c, id, static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
    zinnia_result_t* result = zinnia_recognizer_classify(model_->recognizer, c, count);
    if (!result) return out;
    for (size_t i = 0; i < zinnia_result_size(result); ++i)
        out.push_back({zinnia_result_value(result, i), zinnia_result_score(result, i)});
    zinnia_result_destroy(result);
    return out;
}

const CharacterSet& Recogniser::modelCharacters() {
    if (modelCharacters_.empty() && load()) {
        // Asked for more candidates than it has, zinnia lists every class.
        const Strokes line{{{100, 500}, {900, 500}}};
        for (ShapeCandidate& c : shapeCandidates(line, std::numeric_limits<size_t>::max()))
            modelLabels_.push_back(std::move(c.character));
        modelCharacters_.insert(modelLabels_.begin(), modelLabels_.end());
    }
    return modelCharacters_;
}

std::vector<std::string> Recogniser::recognise(const Strokes& strokes, size_t count, bool normalise) {
    if (strokes.empty() || count == 0 || !load()) return {};
    const Strokes box = normalise ? normaliseToBox(strokes) : strokes;
    const CharacterSet& known = modelCharacters();
    return combine(shapeCandidates(box, kShapeCandidates), strokeCode(box), StrokeIndex::builtin(), count, weights_,
                   &known);
}

}  // namespace lumiko::hwr
