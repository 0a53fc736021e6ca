// "Copy Image" and "Paste Image": the current image through the clipboard, as a picture that
// paint programs take and give.

#include "core/bitmap_writer.h"
#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "core/label_texts.h"
#include "pictures/picture_file.h"
#include "ui/commands/window_commands.h"

namespace quorvel {

void WindowCommands::OnCopyImage() {
    const IndexedImage& image = CurrentImage();
    if (!image.HasArea()) {
        return;
    }
    const Result<std::vector<std::uint8_t>> bitmap = EncodeBitmap(image);
    if (bitmap) {
        window_.PutPictureOnClipboard(bitmap.value());
    }
}

// Reduced as a picture file chosen with "Load" would be, so the radio group is read first.
// The set is not touched, so this is no undo step.
void WindowCommands::OnPasteImage() {
    ReadChoice();
    const std::vector<std::uint8_t> picture = window_.PictureOnClipboard();
    if (picture.empty()) {
        return;
    }
    Result<IndexedImage> image = DecodePicture(picture, mode_, black_);
    if (!image) {
        window_.ShowFileError(CannotPaste(image.error()));
        return;
    }
    CurrentImage() = std::move(image).value();
    const IndexedImage& current = CurrentImage();
    window_.SetImageLabel(ImageLabelFor(current.width, current.height));
    window_.RequestRepaint();
    RefreshChoice();
}

}  // namespace quorvel
