#include "hostObjects.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vst3test {

std::atomic<int> Message::alive{0};

tresult AttributeList::setBinary(const char* key, const void* data, uint32 size) {
    if (!key || (!data && size)) return kInvalidArgument;
    const auto* bytes = static_cast<const unsigned char*>(data);
    binaries[key].assign(bytes, bytes + size);
    return kResultOk;
}

tresult AttributeList::getBinary(const char* key, const void** data, uint32* size) {
    if (!key || !data || !size) return kInvalidArgument;
    const auto found = binaries.find(key);
    if (found == binaries.end()) return kResultFalse;
    *data = found->second.data();
    *size = static_cast<uint32>(found->second.size());
    return kResultOk;
}

uint32 Message::release() {
    const uint32 left = --count;
    if (left == 0) delete this;
    return left;
}

tresult HostApplication::getName(String128 name) {
    const char* text = "Korvane test host";
    for (int i = 0; i < 128; ++i) name[i] = i < 17 ? static_cast<char16>(text[i]) : 0;
    return kResultOk;
}

tresult HostApplication::createInstance(const Uid& cid, const Uid& iid, void** obj) {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    if (!makesMessages || !sameUid(cid, IMessage::iid) || !sameUid(iid, IMessage::iid)) return kNoInterface;
    *obj = static_cast<IMessage*>(new Message);
    return kResultOk;
}

namespace {
std::string entry(const char* what, ParamID id) { return std::string(what) + " " + std::to_string(id); }
}  // namespace

tresult ComponentHandler::beginEdit(ParamID id) {
    log.push_back(entry("begin", id));
    return kResultOk;
}

tresult ComponentHandler::performEdit(ParamID id, ParamValue value) {
    char text[64];
    std::snprintf(text, sizeof text, "perform %u %g", static_cast<unsigned>(id), value);
    log.push_back(text);
    performed.emplace_back(id, value);
    return kResultOk;
}

tresult ComponentHandler::endEdit(ParamID id) {
    log.push_back(entry("end", id));
    return kResultOk;
}

tresult ComponentHandler::restartComponent(int32 flags) {
    log.push_back("restart " + std::to_string(flags));
    return kResultOk;
}

tresult ComponentHandler::setDirty(TBool state) {
    log.push_back("dirty " + std::to_string(state));
    return kResultOk;
}

tresult ComponentHandler::notifyProgramListChange(int32 listId, int32 program) {
    log.push_back("programs " + std::to_string(listId) + " " + std::to_string(program));
    return kResultOk;
}

bool ComponentHandler::saw(const std::string& wanted) const {
    return std::find(log.begin(), log.end(), wanted) != log.end();
}

double ComponentHandler::lastPerformed(ParamID id) const {
    for (auto it = performed.rbegin(); it != performed.rend(); ++it)
        if (it->first == id) return it->second;
    return -1.0;
}

tresult MemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
    if (!buffer || numBytes < 0) return kInvalidArgument;
    size_t n = std::min(static_cast<size_t>(numBytes), bytes.size() - std::min(position, bytes.size()));
    if (readLimit > 0) n = std::min(n, static_cast<size_t>(readLimit));
    if (n) std::memcpy(buffer, bytes.data() + position, n);
    position += n;
    if (numBytesRead) *numBytesRead = static_cast<int32>(n);
    return kResultOk;
}

tresult MemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
    if (!buffer || numBytes < 0) return kInvalidArgument;
    if (refuseWrites) {
        if (numBytesWritten) *numBytesWritten = 0;
        return kResultFalse;
    }
    const auto* from = static_cast<const unsigned char*>(buffer);
    if (bytes.size() < position + static_cast<size_t>(numBytes)) bytes.resize(position + numBytes);
    std::memcpy(bytes.data() + position, from, static_cast<size_t>(numBytes));
    position += static_cast<size_t>(numBytes);
    if (numBytesWritten) *numBytesWritten = numBytes;
    return kResultOk;
}

tresult MemoryStream::seek(int64 pos, int32 mode, int64* result) {
    int64 base = mode == kSeekSet ? 0 : mode == kSeekCur ? static_cast<int64>(position)
                                                         : static_cast<int64>(bytes.size());
    if (mode < kSeekSet || mode > kSeekEnd || base + pos < 0) return kInvalidArgument;
    position = static_cast<size_t>(base + pos);
    if (result) *result = static_cast<int64>(position);
    return kResultOk;
}

tresult MemoryStream::tell(int64* pos) {
    if (!pos) return kInvalidArgument;
    *pos = static_cast<int64>(position);
    return kResultOk;
}

tresult ValueQueue::getPoint(int32 index, int32* offset, ParamValue* value) {
    if (index < 0 || index >= getPointCount() || !offset || !value) return kInvalidArgument;
    *offset = points[static_cast<size_t>(index)].first;
    *value = points[static_cast<size_t>(index)].second;
    return kResultOk;
}

tresult ValueQueue::addPoint(int32 offset, ParamValue value, int32* index) {
    if (points.size() == points.capacity()) return kOutOfMemory;  // never allocates
    points.emplace_back(offset, value);
    if (index) *index = static_cast<int32>(points.size()) - 1;
    return kResultOk;
}

ParameterChanges::ParameterChanges() : queues(32) {
    for (ValueQueue& queue : queues) queue.points.reserve(4096);
}

IParamValueQueue* ParameterChanges::getParameterData(int32 index) {
    return index >= 0 && index < used ? &queues[static_cast<size_t>(index)] : nullptr;
}

IParamValueQueue* ParameterChanges::addParameterData(const ParamID* id, int32* index) {
    if (!id) return nullptr;
    for (int32 i = 0; i < used; ++i)
        if (queues[static_cast<size_t>(i)].id == *id) {
            if (index) *index = i;
            return &queues[static_cast<size_t>(i)];
        }
    if (used == static_cast<int32>(queues.size())) return nullptr;
    ValueQueue& queue = queues[static_cast<size_t>(used)];
    queue.id = *id;
    queue.points.clear();
    if (index) *index = used;
    ++used;
    return &queue;
}

void ParameterChanges::add(ParamID id, int32 offset, double value) {
    int32 index = 0;
    if (IParamValueQueue* queue = addParameterData(&id, &index)) queue->addPoint(offset, value, &index);
}

void ParameterChanges::clear() {
    for (int32 i = 0; i < used; ++i) queues[static_cast<size_t>(i)].points.clear();
    used = 0;
}

ValueQueue* ParameterChanges::queueOf(ParamID id) {
    for (int32 i = 0; i < used; ++i)
        if (queues[static_cast<size_t>(i)].id == id) return &queues[static_cast<size_t>(i)];
    return nullptr;
}

tresult ConnectionProxy::notify(IMessage* message) {
    if (!message || !target) return kInvalidArgument;
    forwarded.push_back(message->getMessageID() ? message->getMessageID() : "");
    return target->notify(message);
}

}  // namespace vst3test
