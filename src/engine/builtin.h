// Tables, pictures, icons and the handwriting page built into the program.
#pragma once

#include <string>
#include <string_view>

#include "engine/sharedtext.h"

namespace lumiko {

// A built-in picture: its name (for the front-ends and the simulator) and
// its bytes (a BMP or ICO file), compared byte for byte by the mode test.
struct Picture {
    std::string name;
    std::string_view bytes;
};

bool samePicture(const Picture* a, const Picture* b);

}  // namespace lumiko

namespace lumiko::builtin {

std::string_view componentList();
std::string_view commonCharacterList();
std::string_view strokeComponentTable();
std::string_view componentCodeTable();
std::string_view basicStrokeStrip();
std::string_view handwritingPage();

// A built-in table as a shared text, made once: shared(componentList).
const SharedText& shared(std::string_view (*table)());

// Key pictures by name: heng 一, shu 丨, pie 丿, dian 丶, zhe 乙, shi 十,
// shou 扌, kou 口, chang 厂, ba 八, xiao 小, tou 亠, yi 乂, ring ○.
const Picture& picture(std::string_view name);

// Icons: lumiko (program), backspace, space, enter.
const Picture& icon(std::string_view name);

}  // namespace lumiko::builtin
