// The editing half: parameters, their texts, the editor, and the program
// list hosts show in their preset menu.
#pragma once

#include <cstddef>

#include "base.h"

namespace vst3 {

class IComponentHandler;
class IPlugView;

struct ParameterInfo {
    enum Flags : int32 {
        kCanAutomate = 1 << 0,
        kIsReadOnly = 1 << 1,
        kIsList = 1 << 3,
        kIsHidden = 1 << 4,
        kIsProgramChange = 1 << 15,
        kIsBypass = 1 << 16,
    };
    ParamID id;
    String128 title;
    String128 shortTitle;
    String128 units;
    int32 stepCount;  // 0 continuous, N: N + 1 values
    ParamValue defaultNormalizedValue;
    int32 unitId;
    int32 flags;
};

struct UnitInfo {
    int32 id;
    int32 parentUnitId;
    String128 name;
    int32 programListId;
};

struct ProgramListInfo {
    int32 id;
    String128 name;
    int32 programCount;
};

inline constexpr int32 kRootUnitId = 0;
inline constexpr int32 kNoParentUnitId = -1;

static_assert(sizeof(ParameterInfo) == 792 && offsetof(ParameterInfo, shortTitle) == 260 &&
              offsetof(ParameterInfo, units) == 516 && offsetof(ParameterInfo, stepCount) == 772 &&
              offsetof(ParameterInfo, defaultNormalizedValue) == 776 &&
              offsetof(ParameterInfo, unitId) == 784 && offsetof(ParameterInfo, flags) == 788);
static_assert(sizeof(UnitInfo) == 268 && offsetof(UnitInfo, programListId) == 264);
static_assert(sizeof(ProgramListInfo) == 264 && offsetof(ProgramListInfo, programCount) == 260);

// The controller-state pair shares its names with the component's pair in the
// headers hosts compile against; only the slots matter.
class IEditController : public IPluginBase {
public:
    virtual tresult KVBR_VST3_CALL setComponentState(IBStream* state) = 0;
    virtual tresult KVBR_VST3_CALL setState(IBStream* state) = 0;
    virtual tresult KVBR_VST3_CALL getState(IBStream* state) = 0;
    virtual int32 KVBR_VST3_CALL getParameterCount() = 0;
    virtual tresult KVBR_VST3_CALL getParameterInfo(int32 index, ParameterInfo* info) = 0;
    virtual tresult KVBR_VST3_CALL getParamStringByValue(ParamID id, ParamValue normalised,
                                                         String128 text) = 0;
    virtual tresult KVBR_VST3_CALL getParamValueByString(ParamID id, char16* text,
                                                         ParamValue* normalised) = 0;
    virtual ParamValue KVBR_VST3_CALL normalizedParamToPlain(ParamID id, ParamValue normalised) = 0;
    virtual ParamValue KVBR_VST3_CALL plainParamToNormalized(ParamID id, ParamValue plain) = 0;
    virtual ParamValue KVBR_VST3_CALL getParamNormalized(ParamID id) = 0;
    virtual tresult KVBR_VST3_CALL setParamNormalized(ParamID id, ParamValue normalised) = 0;
    virtual tresult KVBR_VST3_CALL setComponentHandler(IComponentHandler* handler) = 0;
    // "editor" gives a new view (counted once, for the caller); anything else null.
    virtual IPlugView* KVBR_VST3_CALL createView(FIDString name) = 0;
    static constexpr Uid iid = uidOf(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);

protected:
    ~IEditController() = default;
};

class IEditController2 : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL setKnobMode(int32 mode) = 0;
    virtual tresult KVBR_VST3_CALL openHelp(TBool onlyCheck) = 0;
    virtual tresult KVBR_VST3_CALL openAboutBox(TBool onlyCheck) = 0;
    static constexpr Uid iid = uidOf(0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038);

protected:
    ~IEditController2() = default;
};

class IUnitInfo : public FUnknown {
public:
    virtual int32 KVBR_VST3_CALL getUnitCount() = 0;
    virtual tresult KVBR_VST3_CALL getUnitInfo(int32 index, UnitInfo* info) = 0;
    virtual int32 KVBR_VST3_CALL getProgramListCount() = 0;
    virtual tresult KVBR_VST3_CALL getProgramListInfo(int32 index, ProgramListInfo* info) = 0;
    virtual tresult KVBR_VST3_CALL getProgramName(int32 listId, int32 program, String128 name) = 0;
    virtual tresult KVBR_VST3_CALL getProgramInfo(int32 listId, int32 program, const char* attribute,
                                                  String128 value) = 0;
    virtual tresult KVBR_VST3_CALL hasProgramPitchNames(int32 listId, int32 program) = 0;
    virtual tresult KVBR_VST3_CALL getProgramPitchName(int32 listId, int32 program, int16 pitch,
                                                       String128 name) = 0;
    virtual int32 KVBR_VST3_CALL getSelectedUnit() = 0;
    virtual tresult KVBR_VST3_CALL selectUnit(int32 unitId) = 0;
    virtual tresult KVBR_VST3_CALL getUnitByBus(int32 type, int32 dir, int32 busIndex, int32 channel,
                                                int32* unitId) = 0;
    virtual tresult KVBR_VST3_CALL setUnitProgramData(int32 listOrUnitId, int32 program,
                                                      IBStream* data) = 0;
    static constexpr Uid iid = uidOf(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);

protected:
    ~IUnitInfo() = default;
};

}  // namespace vst3
