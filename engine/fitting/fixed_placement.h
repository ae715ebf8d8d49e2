#pragma once

#include "engine/condition/fixed_decorations.h"
#include "engine/fitting/socket_holder.h"
#include "engine/tables/records.h"

// Places the condition's fixed decorations into the holders of a combination and adds their
// points to `points` (skill k by system `ids[k]`), a body decoration `bodyTimes` times. A fixed
// decoration counts with its own points, and only when it fits its position: the set shows what
// was placed, so a fitting counts just that. Returns the slots the placed decorations take.
inline int PlaceFixedDecorations(const FixedDecorations& fixed,
                                 SocketHolder (&holders)[kPositionCount], int bodyTimes,
                                 const int* ids, int count, int* points) {
    int taken = 0;
    for (int position = 0; position < kPositionCount; ++position) {
        const int times = position == kBody ? bodyTimes : 1;
        for (int i = 0; i < fixed.count[position]; ++i) {
            CDecoData* deco = fixed.decos[position][i];
            if (!holders[position].Place(deco)) {
                continue;
            }
            taken += deco->size;
            for (int k = 0; k < count; ++k) {
                points[k] += times * deco->PointsFor(ids[k]);
            }
        }
    }
    return taken;
}
