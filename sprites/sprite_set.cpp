#include "sprites/sprite_set.h"

namespace quorvel {

SpriteSet& CurrentSpriteSet() {
    static SpriteSet set;
    return set;
}

bool HasUnsavedSprites() {
    const SpriteSet& set = CurrentSpriteSet();
    return set.changedSinceSaved && set.count > 0;
}

}  // namespace quorvel
