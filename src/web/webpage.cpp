// Page access over the document abstraction of the services. The browser
// engine behind it belongs to the front-end; this object only decides which
// element or link an operation means.
#include "web/webpage.h"

namespace lumiko {

bool WebPage::attach() {
    // The services know the one browser view of the panel and find its
    // document themselves; a document that cannot be reached comes back null
    // and leaves nothing stale behind.
    document_ = browser_.browserDocument();
    return document_ != nullptr;
}

std::shared_ptr<PageElement> WebPage::field(const Text& name) {
    if (!document_) return nullptr;
    if (auto byName = document_->elementByName(name)) return byName;
    return document_->elementById(name);
}

Text WebPage::value(const Text& name) {
    const auto element = field(name);
    return element ? element->value() : Text();
}

void WebPage::setValue(const Text& name, const Text& text) {
    if (const auto element = field(name)) element->setValue(text);
}

bool WebPage::clickLinkTo(const Text& part) {
    if (!document_) return false;
    for (const auto& link : document_->links()) {
        if (link && findText(link->href(), part) != -1) {
            link->click();
            return true;
        }
    }
    return false;
}

}  // namespace lumiko
