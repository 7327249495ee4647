// The module's factory: what the module holds and how hosts create it.
#pragma once

#include <cstddef>

#include "base.h"

namespace vst3 {

struct PFactoryInfo {
    enum Flags : int32 { kClassesDiscardable = 1 << 0, kComponentNonDiscardable = 1 << 3, kUnicode = 1 << 4 };
    char vendor[64];
    char url[256];
    char email[128];
    int32 flags;
};

inline constexpr int32 kManyInstances = 0x7FFFFFFF;

struct PClassInfo {
    Uid cid;
    int32 cardinality;
    char category[32];
    char name[64];
};

struct PClassInfo2 {
    Uid cid;
    int32 cardinality;
    char category[32];
    char name[64];
    uint32 classFlags;
    char subCategories[128];
    char vendor[64];
    char version[64];
    char sdkVersion[64];
};

struct PClassInfoW {
    Uid cid;
    int32 cardinality;
    char category[32];
    char16 name[64];
    uint32 classFlags;
    char subCategories[128];
    char16 vendor[64];
    char16 version[64];
    char16 sdkVersion[64];
};

static_assert(sizeof(PFactoryInfo) == 452 && offsetof(PFactoryInfo, flags) == 448);
static_assert(sizeof(PClassInfo) == 116 && offsetof(PClassInfo, name) == 52);
static_assert(sizeof(PClassInfo2) == 440 && offsetof(PClassInfo2, classFlags) == 116 &&
              offsetof(PClassInfo2, subCategories) == 120 && offsetof(PClassInfo2, sdkVersion) == 376);
static_assert(sizeof(PClassInfoW) == 696 && offsetof(PClassInfoW, name) == 52 &&
              offsetof(PClassInfoW, classFlags) == 180 && offsetof(PClassInfoW, vendor) == 312 &&
              offsetof(PClassInfoW, sdkVersion) == 568);

class IPluginFactory : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL getFactoryInfo(PFactoryInfo* info) = 0;
    virtual int32 KVBR_VST3_CALL countClasses() = 0;
    virtual tresult KVBR_VST3_CALL getClassInfo(int32 index, PClassInfo* info) = 0;
    // A new object (counted once, for the caller) of class cid, as interface iid.
    virtual tresult KVBR_VST3_CALL createInstance(const Uid& cid, const Uid& iid, void** obj) = 0;
    static constexpr Uid iid = uidOf(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);

protected:
    ~IPluginFactory() = default;
};

class IPluginFactory2 : public IPluginFactory {
public:
    virtual tresult KVBR_VST3_CALL getClassInfo2(int32 index, PClassInfo2* info) = 0;
    static constexpr Uid iid = uidOf(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);

protected:
    ~IPluginFactory2() = default;
};

class IPluginFactory3 : public IPluginFactory2 {
public:
    virtual tresult KVBR_VST3_CALL getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
    virtual tresult KVBR_VST3_CALL setHostContext(FUnknown* context) = 0;
    static constexpr Uid iid = uidOf(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);

protected:
    ~IPluginFactory3() = default;
};

}  // namespace vst3
