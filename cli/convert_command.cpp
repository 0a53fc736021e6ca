// quorvel-cli convert [--dither] INPUT.bmp OUTPUT.bmp
//
// Does what "Load" and then "Save" on the bitmap side of the window do, so it writes the
// same bytes the window would.

#include <array>

#include "cli/command.h"
#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"

namespace quorvel::cli {

int RunConvert(const std::vector<std::string>& arguments) {
    const Command& command = *FindCommand("convert");
    constexpr std::array<std::string_view, 1> kOptions = {"--dither"};
    const Result<ParsedArguments> parsed = ParseArguments(arguments, kOptions);
    if (!parsed) {
        return UsageError(command, parsed.error());
    }
    const std::vector<std::string>& files = parsed.value().positional;
    if (files.size() != 2) {
        return UsageError(command, files.size() < 2 ? "missing file name" : "too many file names");
    }
    const ConversionMode mode =
        HasOption(parsed.value(), "--dither") ? ConversionMode::Dither : ConversionMode::Nearest;
    // Both report their failures on standard error through the console window.
    if (!LoadBitmapFile(files[0], mode) || !SaveBitmapFile(files[1])) {
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace quorvel::cli
