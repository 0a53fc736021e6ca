#pragma once
// What every load shares: read the whole file, or tell the user why not.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/file_view.h"
#include "core/indexed_image.h"
#include "core/result.h"

namespace quorvel {

// The bytes of `fileName`. A file that cannot be opened shows "Unable to open NAME for read.",
// one that fails part-way "Unable to read NAME: the file could not be read to its end."; both
// give nothing.
std::optional<std::vector<std::uint8_t>> ReadFileOrReport(const std::string& fileName);

// The same for a file only decoded, seen in place when it is large (file_view.h).
std::optional<FileView> ViewFileOrReport(const std::string& fileName);

// Shows "Unable to read NAME: the file could not be read to its end." when the file of `view`
// changed under it while it was decoded, and returns false; true when it stayed whole.
bool ReportIfCutShort(const FileView& view, const std::string& fileName);

// Reads `fileName` and decodes it with `decode`, which may release the bytes once it no longer
// needs them; on success the result becomes the current image
// and a repaint is requested. On failure shows the reading error or "Unable to read NAME:
// REASON." and leaves the current image as it was. Returns whether the image was replaced.
bool LoadImageFile(const std::string& fileName,
                   const std::function<Result<IndexedImage>(FileView&)>& decode);

}  // namespace quorvel
