#include "app/app.h"

namespace lumiko {

void App::tick() {}
void App::refreshInfoStrip() {}

}  // namespace lumiko
