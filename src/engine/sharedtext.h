#pragma once

#include <memory>
#include <string_view>

#include "engine/gbktext.h"

namespace lumiko {

// A table text: copied by reference, since the panel hands whole tables
// around on every click ("searchTable := a copy of strokeTable") and the
// tables are never changed after loading.
class SharedText {
public:
    SharedText() : p_(emptyText()) {}
    SharedText(Text t) : p_(std::make_shared<const Text>(std::move(t))) {}
    SharedText(const char* t) : SharedText(Text(t)) {}
    const Text& str() const { return *p_; }
    operator std::string_view() const { return *p_; }
    std::size_t size() const { return p_->size(); }
    bool empty() const { return p_->empty(); }

private:
    static const std::shared_ptr<const Text>& emptyText() {
        static const auto e = std::make_shared<const Text>();
        return e;
    }
    std::shared_ptr<const Text> p_;
};

}  // namespace lumiko
