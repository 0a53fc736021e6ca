#pragma once
// The program keeps its texts in UTF-8; the wide (UTF-16) Windows API gets them converted at
// the call, so every character, "×" included, reaches the screen and the file system intact.

#include <string>
#include <string_view>

namespace quorvel {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace quorvel
