#include "bankMessage.h"

#include <cstring>
#include <span>

#include "core/pluginState.h"
#include "unknown.h"

namespace vst3::bankMessage {

bool send(FUnknown* hostContext, IConnectionPoint* peer, ProgramBank& bank) {
    HostRef<IHostApplication> application;
    application.adopt(queryHost<IHostApplication>(hostContext));
    if (!application || !peer) return false;
    void* made = nullptr;
    if (application->createInstance(IMessage::iid, IMessage::iid, &made) != kResultOk || !made)
        return false;
    HostRef<IMessage> message;
    message.adopt(static_cast<IMessage*>(made));
    message->setMessageID(kId);
    IAttributeList* attributes = message->getAttributes();
    if (!attributes) return false;
    // The bank only: the settings reach the processor as parameter changes.
    const std::vector<unsigned char> block = pluginState::save(bank, nullptr);
    if (attributes->setBinary(kKey, block.data(), static_cast<uint32>(block.size())) != kResultOk)
        return false;
    return peer->notify(message.get()) == kResultOk;
}

Received receive(IMessage* message, ProgramBank& bank) {
    if (!message) return Received::notOurs;
    const char* id = message->getMessageID();
    if (!id || std::strcmp(id, kId) != 0) return Received::notOurs;
    IAttributeList* attributes = message->getAttributes();
    const void* data = nullptr;
    uint32 size = 0;
    if (!attributes || attributes->getBinary(kKey, &data, &size) != kResultOk || !data)
        return Received::refused;
    const std::span<const unsigned char> bytes(static_cast<const unsigned char*>(data), size);
    return pluginState::restore(bank, nullptr, bytes) == pluginState::Restore::ok ? Received::restored
                                                                           : Received::refused;
}

}  // namespace vst3::bankMessage
