// Exits 0 when the system maps simplified to traditional characters
// (LCMapStringEx with LCMAP_TRADITIONAL_CHINESE), 1 when it leaves them as
// they are, as Wine does.
#include "platform/win32/services.h"

int main() { return lumiko::win32::traditionalOf("\xb9\xfa") == "\x87\xf8" ? 0 : 1; }  // 国 -> 國
