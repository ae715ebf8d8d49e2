#pragma once

#include "engine/tables/records.h"

// The slots of one position (a piece or the weapon) while decorations are fitted.
struct SocketHolder {
    int position = 0;
    int slots = 0;
    int free = 0;
    CDecoData* decos[3] = {};

    void Init(int slotCount, int at) {
        position = at;
        slots = slotCount;
        Reset();
    }

    void Reset() {
        free = slots;
        decos[0] = decos[1] = decos[2] = nullptr;
    }

    // A decoration of negative size (a malformed table row) is never placed: it would hand out
    // slots the position does not have.
    bool Place(CDecoData* deco) {
        if (deco->size < 0) {
            return false;
        }
        for (int entry = 0; entry < slots; ++entry) {
            if (decos[entry] == nullptr) {
                if (free < deco->size) {
                    return false;
                }
                decos[entry] = deco;
                free -= deco->size;
                return true;
            }
        }
        return false;
    }
};
