// The VST 3 declarations lie as hosts expect them: every method in the slot
// the facts sheet gives it, IDs in this platform's byte order, the result
// codes of this platform. (Struct sizes and offsets are pinned where the
// structs are declared.)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "formats/vst3/abi/component.h"
#include "formats/vst3/abi/controller.h"
#include "formats/vst3/abi/factory.h"
#include "formats/vst3/abi/host.h"
#include "formats/vst3/abi/view.h"

using namespace vst3;

namespace {

// The virtual-table slot a pointer to a virtual member holds (the Itanium
// C++ rules, which g++ and mingw-w64 follow: 1 + the slot's byte offset).
template <class Method>
int slotOf(Method method) {
    struct Raw {
        std::uintptr_t pointer;
        std::ptrdiff_t adjustment;
    } raw;
    static_assert(sizeof(Method) == sizeof(Raw));
    std::memcpy(&raw, &method, sizeof raw);
    return raw.pointer & 1 ? static_cast<int>((raw.pointer - 1) / sizeof(void*)) : -1;
}

std::string hex(const Uid& id) {
    std::string out;
    char digits[4];
    for (std::uint8_t byte : id.bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", byte);
        out += digits;
    }
    return out.substr(0, out.size() - 1);
}

}  // namespace

TEST(Vst3Abi, EveryMethodSitsInItsSlot) {
    EXPECT_EQ(slotOf(&FUnknown::queryInterface), 0);
    EXPECT_EQ(slotOf(&FUnknown::release), 2);
    EXPECT_EQ(slotOf(&IPluginBase::initialize), 3);
    EXPECT_EQ(slotOf(&IPluginBase::terminate), 4);

    EXPECT_EQ(slotOf(&IPluginFactory::getFactoryInfo), 3);
    EXPECT_EQ(slotOf(&IPluginFactory::createInstance), 6);
    EXPECT_EQ(slotOf(&IPluginFactory2::getClassInfo2), 7);
    EXPECT_EQ(slotOf(&IPluginFactory3::getClassInfoUnicode), 8);
    EXPECT_EQ(slotOf(&IPluginFactory3::setHostContext), 9);

    EXPECT_EQ(slotOf(&IComponent::getControllerClassId), 5);
    EXPECT_EQ(slotOf(&IComponent::getBusCount), 7);
    EXPECT_EQ(slotOf(&IComponent::getRoutingInfo), 9);
    EXPECT_EQ(slotOf(&IComponent::setActive), 11);
    EXPECT_EQ(slotOf(&IComponent::setState), 12);
    EXPECT_EQ(slotOf(&IComponent::getState), 13);

    EXPECT_EQ(slotOf(&IAudioProcessor::setBusArrangements), 3);
    EXPECT_EQ(slotOf(&IAudioProcessor::canProcessSampleSize), 5);
    EXPECT_EQ(slotOf(&IAudioProcessor::setupProcessing), 7);
    EXPECT_EQ(slotOf(&IAudioProcessor::process), 9);
    EXPECT_EQ(slotOf(&IAudioProcessor::getTailSamples), 10);
    EXPECT_EQ(slotOf(&IProcessContextRequirements::getProcessContextRequirements), 3);
    EXPECT_EQ(slotOf(&IParamValueQueue::getPoint), 5);
    EXPECT_EQ(slotOf(&IParamValueQueue::addPoint), 6);
    EXPECT_EQ(slotOf(&IParameterChanges::addParameterData), 5);

    EXPECT_EQ(slotOf(&IEditController::setComponentState), 5);
    EXPECT_EQ(slotOf(&IEditController::setState), 6);
    EXPECT_EQ(slotOf(&IEditController::getState), 7);
    EXPECT_EQ(slotOf(&IEditController::getParamStringByValue), 10);
    EXPECT_EQ(slotOf(&IEditController::getParamNormalized), 14);
    EXPECT_EQ(slotOf(&IEditController::setParamNormalized), 15);
    EXPECT_EQ(slotOf(&IEditController::createView), 17);
    EXPECT_EQ(slotOf(&IEditController2::openAboutBox), 5);
    EXPECT_EQ(slotOf(&IUnitInfo::getProgramName), 7);
    EXPECT_EQ(slotOf(&IUnitInfo::getSelectedUnit), 11);
    EXPECT_EQ(slotOf(&IUnitInfo::setUnitProgramData), 14);

    EXPECT_EQ(slotOf(&IConnectionPoint::notify), 5);
    EXPECT_EQ(slotOf(&IMessage::getAttributes), 5);
    EXPECT_EQ(slotOf(&IAttributeList::setBinary), 9);
    EXPECT_EQ(slotOf(&IAttributeList::getBinary), 10);
    EXPECT_EQ(slotOf(&IHostApplication::createInstance), 4);
    EXPECT_EQ(slotOf(&IComponentHandler::restartComponent), 6);
    EXPECT_EQ(slotOf(&IComponentHandler2::setDirty), 3);
    EXPECT_EQ(slotOf(&IUnitHandler::notifyProgramListChange), 4);
    EXPECT_EQ(slotOf(&IBStream::read), 3);
    EXPECT_EQ(slotOf(&IBStream::tell), 6);

    EXPECT_EQ(slotOf(&IPlugView::attached), 4);
    EXPECT_EQ(slotOf(&IPlugView::getSize), 9);
    EXPECT_EQ(slotOf(&IPlugView::setFrame), 12);
    EXPECT_EQ(slotOf(&IPlugView::checkSizeConstraint), 14);
    EXPECT_EQ(slotOf(&IPlugFrame::resizeView), 3);
    EXPECT_EQ(slotOf(&IPlugViewContentScaleSupport::setContentScaleFactor), 3);
    EXPECT_EQ(slotOf(&IRunLoop::registerEventHandler), 3);
    EXPECT_EQ(slotOf(&IRunLoop::unregisterTimer), 6);
    EXPECT_EQ(slotOf(&IEventHandler::onFDIsSet), 3);
    EXPECT_EQ(slotOf(&ITimerHandler::onTimer), 3);
}

TEST(Vst3Abi, IdsAndResultsFollowThePlatform) {
#if defined(_WIN32)
    EXPECT_EQ(hex(IComponent::iid), "31 FF 31 E8 D5 F2 01 43 92 8E BB EE 25 69 78 02");
    EXPECT_EQ(hex(IPlugView::iid), "07 25 C3 5B 60 D0 EA 49 A6 15 1B 52 2B 75 5B 29");
    EXPECT_EQ(kNoInterface, static_cast<tresult>(0x80004002u));
    EXPECT_EQ(kInvalidArgument, static_cast<tresult>(0x80070057u));
    EXPECT_EQ(kNotImplemented, static_cast<tresult>(0x80004001u));
#else
    EXPECT_EQ(hex(IComponent::iid), "E8 31 FF 31 F2 D5 43 01 92 8E BB EE 25 69 78 02");
    EXPECT_EQ(hex(IPluginBase::iid), "22 88 8D DB 15 6E 45 AE 83 58 B3 48 08 19 06 25");
    EXPECT_EQ(kNoInterface, -1);
    EXPECT_EQ(kInvalidArgument, 2);
    EXPECT_EQ(kNotImplemented, 3);
#endif
    EXPECT_EQ(hex(FUnknown::iid), "00 00 00 00 00 00 00 00 C0 00 00 00 00 00 00 46");
    EXPECT_EQ(kResultOk, 0);
    EXPECT_EQ(kResultFalse, 1);
}
