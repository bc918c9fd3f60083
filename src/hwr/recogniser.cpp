// The zinnia recogniser behind the handwriting pad.
#include "hwr/recogniser.h"

#include <zinnia.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <utility>

#include "hwr/modelcheck.h"
#include "hwr/strokeclass.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

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

namespace {

// No model is anywhere near this large (the Simplified Chinese one has 26 MB).
constexpr long long kLargestModel = 512LL << 20;

// The model file's bytes: mapped read-only where the system can, read whole
// otherwise; only a regular file, and not an endless one.
ModelBytes readModelFile(const std::string& path, std::string& error) {
    ModelBytes bytes;
#ifndef _WIN32
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = std::strerror(errno);
        return bytes;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        error = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        error = "it is not a regular file";
    } else if (st.st_size == 0) {
        error = "the file is empty";
    } else if (st.st_size > kLargestModel) {
        error = "the file is far too large for a handwriting model";
    } else {
        const size_t size = static_cast<size_t>(st.st_size);
        void* view = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (view == MAP_FAILED) {
            error = std::strerror(errno);
        } else {
            bytes.data = static_cast<const char*>(view);
            bytes.size = size;
            bytes.owner = std::shared_ptr<const void>(view, [size](const void* v) { munmap(const_cast<void*>(v), size); });
        }
    }
    ::close(fd);
#else
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "it cannot be read";
        return bytes;
    }
    auto held = std::make_shared<const std::string>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (static_cast<long long>(held->size()) > kLargestModel) {
        error = "the file is far too large for a handwriting model";
        return bytes;
    }
    bytes = {held->data(), held->size(), held};
#endif
    return bytes;
}

}  // namespace

Recogniser::Recogniser(std::string modelPath, ModelReader reader)
    : path_(std::move(modelPath)), reader_(reader ? std::move(reader) : ModelReader(readModelFile)) {}
Recogniser::~Recogniser() = default;

bool Recogniser::load() {
    if (model_) return true;
    if (tried_) return false;  // a missing model is not looked for at every stroke
    tried_ = true;
    auto model = std::make_unique<Model>();
    std::string why;
    // zinnia trusts the file's structure: it is checked whole first, and
    // zinnia reads the very bytes that were checked.
    model->bytes = reader_(path_, why);
    if (model->bytes.data && why.empty()) why = checkModel(model->bytes.data, model->bytes.size);
    const bool opened = model->bytes.data && why.empty() &&
                        zinnia_recognizer_open_from_ptr(model->recognizer, model->bytes.data, model->bytes.size);
    if (!opened) {
        if (why.empty()) why = zinnia_recognizer_strerror(model->recognizer);
        error_ = "handwriting is unavailable: the model " + path_ + " cannot be opened: " + why;
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
    // zinnia reads only the points it would split a stroke at: its cost stays
    // bounded whatever the drawing holds.
    const Strokes kept = keepShape(box);
    for (size_t id = 0; id < kept.size(); ++id)
        for (const Point& p : kept[id])
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
