#include "sprites/sprite_set.h"

namespace quorvel {

SpriteSet& CurrentSpriteSet() {
    static SpriteSet set;
    return set;
}

}  // namespace quorvel
