// quorvel-cli convert [--dither] INPUT.bmp OUTPUT.bmp
//
// Does what "Load" and then "Save" on the bitmap side of the window do, so it writes the
// same bytes the window would.

#include "cli/command.h"
#include "core/bitmap_reader.h"
#include "core/bitmap_writer.h"

namespace quorvel::cli {

int RunConvert(const Invocation& invocation) {
    const std::vector<std::string>& files = invocation.files;
    // Both report their failures on standard error through the console window.
    if (!LoadBitmapFile(files[0], invocation.mode) || !SaveBitmapFile(files[1])) {
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace quorvel::cli
