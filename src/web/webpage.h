// Access to the document shown in the browser view: attach to it, read and
// write a field's value, click a link.
#pragma once

#include <memory>

#include "platform/services.h"

namespace lumiko {

class WebPage {
public:
    explicit WebPage(Browser& browser) : browser_(browser) {}

    // Reaches the document the browser view shows now; false (and no
    // document) when none can be reached.
    bool attach();
    // The value of the field named `name`, empty without the field. The
    // browser engine the page was written for finds an element by its id as
    // well, and the handwriting field relies on it (name "wd", id "kw");
    // other engines do not, so the id is tried next.
    Text value(const Text& name);
    void setValue(const Text& name, const Text& text);
    // Clicks the first link whose address holds `part`; false when none does.
    bool clickLinkTo(const Text& part);

    PageDocument* document() const { return document_; }

private:
    std::shared_ptr<PageElement> field(const Text& name);

    Browser& browser_;
    PageDocument* document_ = nullptr;
};

}  // namespace lumiko
