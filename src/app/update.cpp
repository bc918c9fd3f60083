#include "app/app.h"

namespace lumiko {

void App::help() {}
void App::about() {}
void App::updateCheck() {}
Text App::extractVersion(std::string_view) { return {}; }
void App::openLink(const Text&) {}

}  // namespace lumiko
