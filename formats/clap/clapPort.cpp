#include "clapPort.h"

#include "clapValues.h"

// ------------------------------------------------- the main thread's side

void ClapPort::automate(int parameter, float) {
    // The strip is no host parameter, only part of the saved state.
    if (parameter == kEditorStripParameter) {
        if (extensions.state && extensions.state->markDirty) extensions.state->markDirty(host);
        return;
    }
    if (!controls::byParameter(parameter)) return;
    const unsigned bit = 1u << parameter;
    if (openGestures & bit) {
        queueValue(static_cast<std::uint32_t>(parameter));
        return;
    }
    // Another control's held value cannot belong to this gesture.
    heldValues &= ~bit;
    sendHeldEdits();
    heldValues = bit;
}

void ClapPort::gesture(int parameter, bool begin) {
    if (!controls::byParameter(parameter)) return;
    const unsigned bit = 1u << parameter;
    const auto id = static_cast<std::uint32_t>(parameter);
    if (begin) {
        const bool held = heldValues & bit;
        heldValues &= ~bit;
        sendHeldEdits();
        // A begin goes out only with room for its end.
        if (!(openGestures & bit) && queueEdit({EditRecord::Kind::gestureBegin, id}, 1)) {
            openGestures |= bit;
            if (held) queueValue(id);
        }
    } else if (openGestures & bit) {
        // An end only for a begin the host was given.
        queueEdit({EditRecord::Kind::gestureEnd, id}, 0);
        openGestures &= ~bit;
    }
}

void ClapPort::queueValue(std::uint32_t paramId) {
    const EditRecord record{EditRecord::Kind::value, paramId};
    // A drag's stream of values: the record still waiting behind another one
    // will carry the latest value anyway.
    if (edits.waiting() >= 2 && lastQueued.kind == record.kind && lastQueued.paramId == paramId) return;
    // Room stays for the end of every gesture still open.
    std::size_t owed = 0;
    for (unsigned open = openGestures; open; open >>= 1) owed += open & 1u;
    queueEdit(record, owed);
}

void ClapPort::sendHeldEdits() {
    for (std::uint32_t parameter = 0; heldValues; ++parameter, heldValues >>= 1)
        if (heldValues & 1u) queueValue(parameter);
}

void ClapPort::updateDisplay() {
    sendHeldEdits();
    tellHostEdited();
}

void ClapPort::tellHostEdited() {
    if (extensions.params && extensions.params->rescan)
        extensions.params->rescan(host, clapabi::kParamRescanValues);
    if (extensions.state && extensions.state->markDirty) extensions.state->markDirty(host);
}

bool ClapPort::queueEdit(const EditRecord& record, std::size_t keepFree) {
    if (!edits.push(record, keepFree)) return false;
    lastQueued = record;
    requestFlush();
    return true;
}

void ClapPort::requestFlush() {
    // Once until the edits are drained: the host's answer takes them all.
    if (flushRequested.exchange(true)) return;
    if (extensions.params && extensions.params->requestFlush)
        extensions.params->requestFlush(host);
    else if (host && host->requestProcess)
        host->requestProcess(host);
}

// ------------------------------------------------ the audio thread's side

void ClapPort::sendEdits(const clapabi::OutputEvents* out) {
    // Cleared first: an edit queued while this drains asks again.
    flushRequested.store(false);
    if (!out || !out->tryPush) return;
    while (const EditRecord* record = edits.front()) {
        bool sent = false;
        if (record->kind == EditRecord::Kind::value) {
            clapabi::EventParamValue event{};
            event.header = {sizeof event, 0, clapabi::kCoreEventSpace, clapabi::kEventParamValue,
                            clapabi::kEventIsLive};
            // Records carry the core's parameter index; the host knows the control's ID.
            const controls::Control& control =
                *controls::byParameter(static_cast<int>(record->paramId));
            event.paramId = control.hostId;
            event.noteId = -1;
            event.portIndex = -1;
            event.channel = -1;
            event.key = -1;
            event.value = clapValues::shownPlain(parameters, control);
            sent = out->tryPush(out, &event.header);
        } else {
            clapabi::EventParamGesture event{};
            const bool begin = record->kind == EditRecord::Kind::gestureBegin;
            event.header = {sizeof event, 0, clapabi::kCoreEventSpace,
                            static_cast<std::uint16_t>(begin ? clapabi::kEventParamGestureBegin
                                                             : clapabi::kEventParamGestureEnd),
                            clapabi::kEventIsLive};
            event.paramId = controls::byParameter(static_cast<int>(record->paramId))->hostId;
            sent = out->tryPush(out, &event.header);
        }
        // What the host's list cannot take now waits for the next block, in order.
        if (!sent) break;
        edits.pop();
    }
}
