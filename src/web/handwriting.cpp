#include "app/app.h"

namespace lumiko {

void App::showHandwritingPage() {}
void App::newWindowRequested() {}
void App::openPad() {}

}  // namespace lumiko
