// quorvel-cli convert [--dither] [--keep-black] INPUT OUTPUT
//
// Does what "Load" and then "Save" on the picture side of the window do, so it writes the
// same bytes the window would.

#include "cli/command.h"
#include "pictures/picture_file.h"

namespace quorvel::cli {

int RunConvert(const Invocation& invocation) {
    const std::vector<std::string>& files = invocation.files;
    // Both report their failures on standard error through the console window.
    if (!LoadPictureFile(files[0], invocation.mode, invocation.black) ||
        !SavePictureFile(files[1])) {
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace quorvel::cli
