#include "changeCursor.h"

#include "identity.h"

namespace vst3 {

ChangeCursor::ChangeCursor(IParameterChanges* changes, int32 numSamples, bool (*wanted)(ParamID))
    : last(numSamples > 0 ? numSamples - 1 : 0) {
    const int32 queues = changes ? changes->getParameterCount() : 0;
    for (int32 q = 0; q < queues && count < kMaxLanes; ++q) {
        IParamValueQueue* queue = changes->getParameterData(q);
        if (!queue) continue;
        const ParamID id = queue->getParameterId();
        const int32 points = queue->getPointCount();
        if (!wanted(id) || points <= 0) continue;
        Lane& lane = lanes[count++];
        lane = Lane{queue, id, points, 0, 0, 0.0, id == vst3id::kProgramId};
        load(lane);
        if (lane.next < lane.points) ++pending;
    }
}

void ChangeCursor::load(Lane& lane) {
    // A point the queue cannot give ends the lane.
    const int32 floor = lane.offset;
    int32 offset = 0;
    ParamValue value = 0.0;
    if (lane.queue->getPoint(lane.next, &offset, &value) != kResultOk) {
        lane.next = lane.points;
        return;
    }
    if (offset > last) offset = last;
    if (offset < floor) offset = floor;
    lane.offset = offset;
    lane.value = value;
}

void ChangeCursor::advance(Lane& lane) {
    if (++lane.next < lane.points) load(lane);
    if (lane.next >= lane.points) --pending;
}

int32 ChangeCursor::nextOffset() const {
    int32 next = last + 1;
    for (int l = 0; l < count; ++l)
        if (lanes[l].next < lanes[l].points && lanes[l].offset < next) next = lanes[l].offset;
    return next;
}

}  // namespace vst3
