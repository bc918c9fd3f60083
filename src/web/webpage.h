// Access to the document shown in the browser view: attach to it, find
// elements by name or id, read and write their value, click links.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/services.h"

namespace lumiko {

class WebPage {
public:
    explicit WebPage(Services& services) : svc_(services) {}

    // Link lookup modes of clickLink.
    enum LinkMode { ById = 0, ByName = 1, ByIndex = 2, ByText = 3, ByAddress = 4 };

    bool attach(PageDocument* source, int useSource, std::uint64_t window, int useWindow);
    bool documentFromWindow(std::uint64_t window);
    bool clickLink(const Text& key, int mode, int exact);
    void setValue(const Text& name, int mode, const Text& text);
    Text getValue(const Text& name, int mode);
    std::shared_ptr<PageElement> findElement(const Text& name, int mode);

    PageDocument* document() const { return document_; }

private:
    Services& svc_;
    PageDocument* document_ = nullptr;
};

}  // namespace lumiko
