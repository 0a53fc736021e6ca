#pragma once
// The order in which people expect numbered file names: "walk2" before "walk10".

#include <string_view>

namespace quorvel {

// Whether the name `a` comes before `b`. Names are compared byte by byte, ASCII letters
// without regard to case, except that each run of digits is compared by its value as a whole
// ("frame9" < "frame10"; a run compares against a single other byte as its first digit, so
// runs come after spaces and punctuation such as '-' and '.', and before letters). A name
// that is the start of another comes first. Names equal on these terms are told apart by the
// first run of digits written with a different number of leading zeros, the shorter first
// ("a1" < "a01" < "a001"), and then by their plain bytes, so that upper case comes first
// ("A" < "a"). Every two different names are thus ordered, the same way every time.
bool NaturalLess(std::string_view a, std::string_view b);

}  // namespace quorvel
