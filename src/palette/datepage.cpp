#include "app/app.h"

namespace lumiko {

void App::showDatePage() {}
void App::dateLineChosen() {}
void App::paletteCellPicked() {}

}  // namespace lumiko
