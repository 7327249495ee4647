// The parameter changes of one block, taken in the order of their sample
// offsets across all queues, so that the block can be split at each offset.
// Audio thread: reads the host's queues in place, allocates nothing.
#pragma once

#include "formats/vst3/abi/component.h"

namespace vst3 {

class ChangeCursor {
public:
    // Queues of IDs `wanted` refuses are left out; so are queues beyond the
    // first 16 (the plug-in has 8 parameters).
    ChangeCursor(IParameterChanges* changes, int32 numSamples, bool (*wanted)(ParamID));

    bool done() const { return pending == 0; }
    // The offset of the next change; offsets are clamped into the block and
    // never go back.
    int32 nextOffset() const;
    // Hands every change at `offset` to apply(id, value): the program's first,
    // so that the controls changed at the same moment stand above it.
    template <class Apply>
    void applyAt(int32 offset, Apply&& apply) {
        for (int pass = 0; pass < 2; ++pass)
            for (int l = 0; l < count; ++l) {
                Lane& lane = lanes[l];
                if (lane.first != (pass == 0)) continue;
                while (lane.next < lane.points && lane.offset <= offset) {
                    apply(lane.id, lane.value);
                    advance(lane);
                }
            }
    }

private:
    struct Lane {
        IParamValueQueue* queue;
        ParamID id;
        int32 points;
        int32 next;
        int32 offset;  // of point `next`
        ParamValue value;
        bool first;
    };
    void advance(Lane& lane);
    void load(Lane& lane);

    static constexpr int kMaxLanes = 16;
    Lane lanes[kMaxLanes];
    int count = 0;
    int pending = 0;
    int32 last;  // the last sample of the block (0 for an empty one)
};

}  // namespace vst3
