#include "app/app.h"

namespace lumiko {

void App::togglePalette() {}
void App::showSymbolPage(int) {}

}  // namespace lumiko
