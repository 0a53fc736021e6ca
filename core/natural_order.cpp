#include "core/natural_order.h"

#include <cstddef>

namespace quorvel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

unsigned char Folded(char c) {
    return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

std::size_t DigitsEnd(std::string_view s, std::size_t from) {
    while (from < s.size() && IsDigit(s[from])) {
        ++from;
    }
    return from;
}

// Negative, 0 or positive as `a` comes before, ties with or comes after `b` on everything but
// leading zeros and case. `zeros` takes the tie-break from the first pair of equal-valued runs
// of different lengths, if it is still 0.
int CompareFolded(std::string_view a, std::string_view b, int& zeros) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (!IsDigit(a[i]) || !IsDigit(b[j])) {
            if (Folded(a[i]) != Folded(b[j])) {
                return Folded(a[i]) < Folded(b[j]) ? -1 : 1;
            }
            ++i;
            ++j;
            continue;
        }
        // Two runs of digits: by value, without converting them, so any length works. Leading
        // zeros are skipped down to the last digit; then the longer run is the larger number
        // and runs of the same length compare digit by digit.
        const std::size_t endA = DigitsEnd(a, i);
        const std::size_t endB = DigitsEnd(b, j);
        std::size_t startA = i;
        std::size_t startB = j;
        while (startA + 1 < endA && a[startA] == '0') {
            ++startA;
        }
        while (startB + 1 < endB && b[startB] == '0') {
            ++startB;
        }
        if (endA - startA != endB - startB) {
            return endA - startA < endB - startB ? -1 : 1;
        }
        if (const int c = a.substr(startA, endA - startA).compare(b.substr(startB, endB - startB));
            c != 0) {
            return c;
        }
        if (zeros == 0 && endA - i != endB - j) {
            zeros = endA - i < endB - j ? -1 : 1;
        }
        i = endA;
        j = endB;
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    return 0;
}

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
    int zeros = 0;
    if (const int c = CompareFolded(a, b, zeros); c != 0) {
        return c < 0;
    }
    if (zeros != 0) {
        return zeros < 0;
    }
    return a < b;
}

}  // namespace quorvel
