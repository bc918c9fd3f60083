#include "web/webpage.h"

namespace lumiko {

bool WebPage::attach(PageDocument*, int, std::uint64_t, int) { return false; }
bool WebPage::documentFromWindow(std::uint64_t) { return false; }
bool WebPage::clickLink(const Text&, int, int) { return false; }
void WebPage::setValue(const Text&, int, const Text&) {}
Text WebPage::getValue(const Text&, int) { return {}; }
std::shared_ptr<PageElement> WebPage::findElement(const Text&, int) { return nullptr; }

}  // namespace lumiko
