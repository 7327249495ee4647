// What the host offers the plug-in's two halves: the application object,
// messages between the halves, and the edit handler the controller reports to.
#pragma once

#include "base.h"

namespace vst3 {

// Keys are 8-bit texts; getString and getBinary sizes are in bytes.
class IAttributeList : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL setInt(const char* key, int64 value) = 0;
    virtual tresult KVBR_VST3_CALL getInt(const char* key, int64* value) = 0;
    virtual tresult KVBR_VST3_CALL setFloat(const char* key, double value) = 0;
    virtual tresult KVBR_VST3_CALL getFloat(const char* key, double* value) = 0;
    virtual tresult KVBR_VST3_CALL setString(const char* key, const char16* text) = 0;
    virtual tresult KVBR_VST3_CALL getString(const char* key, char16* text, uint32 sizeInBytes) = 0;
    virtual tresult KVBR_VST3_CALL setBinary(const char* key, const void* data, uint32 sizeInBytes) = 0;
    virtual tresult KVBR_VST3_CALL getBinary(const char* key, const void** data, uint32* sizeInBytes) = 0;
    static constexpr Uid iid = uidOf(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);

protected:
    ~IAttributeList() = default;
};

class IMessage : public FUnknown {
public:
    virtual FIDString KVBR_VST3_CALL getMessageID() = 0;
    virtual void KVBR_VST3_CALL setMessageID(FIDString id) = 0;
    // Borrowed: never released by the caller.
    virtual IAttributeList* KVBR_VST3_CALL getAttributes() = 0;
    static constexpr Uid iid = uidOf(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);

protected:
    ~IMessage() = default;
};

class IHostApplication : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL getName(String128 name) = 0;
    // IMessage's ID as both cid and iid gives a new message.
    virtual tresult KVBR_VST3_CALL createInstance(const Uid& cid, const Uid& iid, void** obj) = 0;
    static constexpr Uid iid = uidOf(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);

protected:
    ~IHostApplication() = default;
};

class IConnectionPoint : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL connect(IConnectionPoint* other) = 0;
    virtual tresult KVBR_VST3_CALL disconnect(IConnectionPoint* other) = 0;
    virtual tresult KVBR_VST3_CALL notify(IMessage* message) = 0;
    static constexpr Uid iid = uidOf(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);

protected:
    ~IConnectionPoint() = default;
};

// Called by the controller on the UI thread only.
class IComponentHandler : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL beginEdit(ParamID id) = 0;
    virtual tresult KVBR_VST3_CALL performEdit(ParamID id, ParamValue normalised) = 0;
    virtual tresult KVBR_VST3_CALL endEdit(ParamID id) = 0;
    virtual tresult KVBR_VST3_CALL restartComponent(int32 flags) = 0;
    static constexpr Uid iid = uidOf(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);

protected:
    ~IComponentHandler() = default;
};

enum RestartFlags : int32 { kParamValuesChanged = 1 << 2, kParamTitlesChanged = 1 << 4 };

class IComponentHandler2 : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL setDirty(TBool state) = 0;
    virtual tresult KVBR_VST3_CALL requestOpenEditor(FIDString name) = 0;
    virtual tresult KVBR_VST3_CALL startGroupEdit() = 0;
    virtual tresult KVBR_VST3_CALL finishGroupEdit() = 0;
    static constexpr Uid iid = uidOf(0xF040B4B3, 0xA36045EC, 0xABCDC045, 0xB4D5A2CC);

protected:
    ~IComponentHandler2() = default;
};

// Queried from the component handler; program = -1 means the whole list.
class IUnitHandler : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL notifyUnitSelection(int32 unitId) = 0;
    virtual tresult KVBR_VST3_CALL notifyProgramListChange(int32 listId, int32 program) = 0;
    static constexpr Uid iid = uidOf(0x4B5147F8, 0x4654486B, 0x8DAB30BA, 0x163A3C56);

protected:
    ~IUnitHandler() = default;
};

}  // namespace vst3
