// quorvel-plain-convert [--dither] INPUT.bmp OUTPUT.bmp
//
// What `quorvel-cli convert` does, built on a copy of the core whose colour search is the
// plain scan over the palette: the baseline scripts/bench.sh compares whole conversions and
// start-up with.

#include <cstring>
#include <iostream>

#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"

int main(int argc, char** argv) {
    const bool dither = argc == 4 && std::strcmp(argv[1], "--dither") == 0;
    if (argc != (dither ? 4 : 3)) {
        std::cerr << "usage: quorvel-plain-convert [--dither] INPUT.bmp OUTPUT.bmp\n";
        return 2;
    }
    const quorvel::ConversionMode mode =
        dither ? quorvel::ConversionMode::Dither : quorvel::ConversionMode::Nearest;
    return quorvel::LoadBitmapFile(argv[argc - 2], mode) && quorvel::SaveBitmapFile(argv[argc - 1])
               ? 0
               : 1;
}
