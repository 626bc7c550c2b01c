#pragma once

#include <cstdint>
#include <string>

#include "graphics/Picture.h"

// The pictures the engine commands load by path, 32 at most. A path asked for
// again is served from memory; a new path replaces the least used slot.
class PictureCache {
public:
    static constexpr int kSlotCount = 32;

    // Returns the picture loaded from path, loading it on a miss. A failed
    // load still claims the slot: asking again returns its empty picture.
    Picture& Get(const std::string& path);

private:
    struct Slot {
        Picture picture;
        int32_t uses = 0;
        std::string path;
    };

    int LeastUsedSlot() const;

    Slot slots[kSlotCount];
};

// The process-wide cache, used by the game thread alone.
extern PictureCache pictureCache;
