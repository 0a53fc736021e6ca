#include "core/indexed_image.h"

namespace quorvel {

IndexedImage& CurrentImage() {
    static IndexedImage image;
    return image;
}

}  // namespace quorvel
