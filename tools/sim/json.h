// The JSON that lumiko-sim prints: strings are UTF-8; '"', '\' and control
// characters are escaped (\r, \n, \t, every other control character, C0, DEL
// and C1, as \u00xx in lower-case hex); nothing else is escaped. Arrays and
// objects separate their members with ", " and keys from values with ": ".
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumiko::sim {

// A JSON string of UTF-8 text.
std::string jsonString(std::string_view utf8);
// A JSON string of GBK text, decoded with the GB18030 mapping.
std::string jsonGbk(std::string_view gbk);
std::string jsonBool(bool b);

// Members are JSON values already.
std::string jsonArray(const std::vector<std::string>& members);
std::string jsonObject(const std::vector<std::pair<std::string, std::string>>& members);

}  // namespace lumiko::sim
