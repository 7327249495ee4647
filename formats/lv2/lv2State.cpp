#include "lv2State.h"

#include <lv2/atom/atom.h>

#include <cstdint>

#include "lv2Instance.h"

namespace lv2State {

Lv2Uris mapUris(const LV2_URID_Map& map) {
    Lv2Uris uris;
    uris.bank = map.map(map.handle, kBankUri);
    uris.selectedProgram = map.map(map.handle, kSelectedProgramUri);
    uris.stateVersion = map.map(map.handle, kStateVersionUri);
    uris.editorStrip = map.map(map.handle, kEditorStripUri);
    uris.atomChunk = map.map(map.handle, LV2_ATOM__Chunk);
    uris.atomInt = map.map(map.handle, LV2_ATOM__Int);
    return uris;
}

namespace {

// Host's main thread, even while run() works: the bank is that thread's, and
// run() changes only the parameters' targets.
LV2_State_Status save(LV2_Handle handle, LV2_State_Store_Function store,
                      LV2_State_Handle state, uint32_t, const LV2_Feature* const*) {
    auto* self = static_cast<Lv2Instance*>(handle);
    if (!self || !store) return LV2_STATE_ERR_UNKNOWN;
    if (!self->hasMap) return LV2_STATE_ERR_NO_FEATURE;
    const Lv2Uris& u = self->uris;
    int selectedSlot = 0;
    const auto bank = self->compressor.bank().saveBank(&selectedSlot);
    const int32_t selected = selectedSlot;
    const int32_t version = kStateVersion;
    const uint32_t flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    LV2_State_Status status = store(state, u.stateVersion, &version, sizeof version, u.atomInt, flags);
    if (status == LV2_STATE_SUCCESS)
        status = store(state, u.bank, bank.data(), bank.size(), u.atomChunk, flags);
    if (status == LV2_STATE_SUCCESS)
        status = store(state, u.selectedProgram, &selected, sizeof selected, u.atomInt, flags);
    const int32_t strip = self->compressor.parameters().get(kEditorStripParameter) >= 0.5f ? 1 : 0;
    if (status == LV2_STATE_SUCCESS)
        status = store(state, u.editorStrip, &strip, sizeof strip, u.atomInt, flags);
    return status;
}

// An Int property, or false when it is missing or of another shape.
bool retrieveInt(LV2_State_Retrieve_Function retrieve, LV2_State_Handle state, LV2_URID key,
                 LV2_URID intType, int32_t& value) {
    size_t size = 0;
    uint32_t type = 0, flags = 0;
    const void* data = retrieve(state, key, &size, &type, &flags);
    if (!data || type != intType || size != sizeof(int32_t)) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    value = static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 |
                                 uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
    return true;
}

// Host's main thread, never while run() works. A state we cannot read leaves
// the bank as it is (the factory bank in a new instance) and the ports to the host.
LV2_State_Status restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve,
                         LV2_State_Handle state, uint32_t, const LV2_Feature* const*) {
    auto* self = static_cast<Lv2Instance*>(handle);
    if (!self || !retrieve) return LV2_STATE_ERR_UNKNOWN;
    if (!self->hasMap) return LV2_STATE_ERR_NO_FEATURE;
    const Lv2Uris& u = self->uris;
    int32_t version = 0, selected = 0;
    if (!retrieveInt(retrieve, state, u.stateVersion, u.atomInt, version) || version < 1 ||
        version > kStateVersion)
        return LV2_STATE_ERR_BAD_TYPE;
    if (!retrieveInt(retrieve, state, u.selectedProgram, u.atomInt, selected))
        return LV2_STATE_ERR_BAD_TYPE;
    size_t size = 0;
    uint32_t type = 0, flags = 0;
    const void* bank = retrieve(state, u.bank, &size, &type, &flags);
    if (!bank || type != u.atomChunk) return LV2_STATE_ERR_BAD_TYPE;
    const std::span<const unsigned char> bytes(static_cast<const unsigned char*>(bank), size);
    // The host restores the ports itself: the bank tells nobody.
    if (self->compressor.bank().restoreBank(bytes, selected) != ProgramBank::Restore::ok)
        return LV2_STATE_ERR_UNKNOWN;
    int32_t strip = 0;
    retrieveInt(retrieve, state, u.editorStrip, u.atomInt, strip);
    self->compressor.parameters().set(kEditorStripParameter, strip == 1 ? 1.0f : 0.0f);
    return LV2_STATE_SUCCESS;
}

}  // namespace

const LV2_State_Interface kInterface = {save, restore};

}  // namespace lv2State
