// Page access over the document abstraction of the services. The browser
// engine behind it belongs to the front-end; this object only decides which
// element or link an operation means.
#include "web/webpage.h"

#include <climits>

namespace lumiko {

namespace {

// The integer value of a text as the index mode reads it: optional blanks, an
// optional sign, then the leading digits; 0 when there are none.
long long integerValue(std::string_view key) {
    size_t i = 0;
    while (i < key.size() && (key[i] == ' ' || key[i] == '\t')) ++i;
    bool negative = false;
    if (i < key.size() && (key[i] == '-' || key[i] == '+')) negative = key[i++] == '-';
    long long value = 0;
    for (; i < key.size() && key[i] >= '0' && key[i] <= '9'; ++i) {
        if (value > (LLONG_MAX - 9) / 10) break;
        value = value * 10 + (key[i] - '0');
    }
    return negative ? -value : value;
}

}  // namespace

bool WebPage::attach(PageDocument* source, int useSource, std::uint64_t window, int useWindow) {
    if (useSource != 0) {
        document_ = source;
        return document_ != nullptr;
    }
    if (useWindow == 0) return false;
    return documentFromWindow(window);
}

bool WebPage::documentFromWindow(std::uint64_t) {
    // The services know the one browser view of the panel and find its
    // document themselves; a document that cannot be reached comes back null
    // and leaves nothing stale behind.
    document_ = svc_.browserDocument();
    return document_ != nullptr;
}

std::shared_ptr<PageElement> WebPage::findElement(const Text& name, int mode) {
    if (!document_) return nullptr;
    if (mode != ByName) return document_->elementById(name);
    // The browser engine the page was written for lets getElementsByName find
    // an element by its id as well, and the handwriting field relies on it
    // (name "wd", id "kw"); other engines do not, so the id is tried next.
    if (auto byName = document_->elementByName(name)) return byName;
    return document_->elementById(name);
}

Text WebPage::getValue(const Text& name, int mode) {
    const auto element = findElement(name, mode);
    return element ? element->value() : Text();
}

void WebPage::setValue(const Text& name, int mode, const Text& text) {
    if (const auto element = findElement(name, mode)) element->setValue(text);
}

bool WebPage::clickLink(const Text& key, int mode, int exact) {
    if (!document_) return false;
    switch (mode) {
    case ById:
    case ByName: {
        const auto element = findElement(key, mode);
        if (!element) return false;
        element->click();
        return true;
    }
    case ByIndex: {
        const auto links = document_->links();
        const long long index = integerValue(key);
        if (index < 1 || index > static_cast<long long>(links.size())) return false;
        const auto& link = links[static_cast<size_t>(index - 1)];
        if (!link) return false;
        link->click();
        return true;
    }
    case ByText:
    case ByAddress:
        for (const auto& link : document_->links()) {
            if (!link) continue;
            const Text subject = mode == ByText ? link->innerText() : link->href();
            const bool match = exact != 0 ? subject == key : findText(subject, key) != -1;
            if (match) {
                link->click();
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

}  // namespace lumiko
