#include "graphics/PictureCache.h"

#include <cstdint>

PictureCache pictureCache;

Picture& PictureCache::Get(const std::string& path) {
    for (Slot& slot : slots) {
        if (slot.path == path) {
            if (slot.uses < INT32_MAX) ++slot.uses;
            return slot.picture;
        }
    }
    int chosen = LeastUsedSlot();
    // Ageing every count keeps old favourites from holding slots for ever.
    int32_t least = slots[chosen].uses;
    for (Slot& slot : slots)
        slot.uses = slot.uses > least ? slot.uses - least : 0;
    Slot& slot = slots[chosen];
    slot.path = path;
    slot.uses = 1;
    slot.picture.LoadImage(path.c_str());
    return slot.picture;
}

// The lowest index wins among equal counts.
int PictureCache::LeastUsedSlot() const {
    int chosen = 0;
    for (int i = 1; i < kSlotCount; ++i) {
        if (slots[i].uses < slots[chosen].uses) chosen = i;
    }
    return chosen;
}
