// What the VST 3 module says about itself, in one place for the factory and
// for the moduleinfo.json written at build time. The class IDs and parameter
// IDs never change: hosts keep them in their projects and automation.
#pragma once

#include <cstdint>

#include "kvbrVersion.h"

namespace vst3id {

struct Words {
    std::uint32_t l1, l2, l3, l4;
};

inline constexpr Words kProcessorClass = {0x650A438C, 0x18AA443C, 0xBFDCF6DF, 0xBDDD3590};
inline constexpr Words kControllerClass = {0x454EA4F8, 0xA16448AB, 0x94158377, 0xD42C9E3F};

inline constexpr const char* kName = "Korvane Brassel";
inline constexpr const char* kVendor = "Korvane";
inline constexpr const char* kUrl = "https://korvane.com";
inline constexpr const char* kEmail = "dev@korvane.com";
inline constexpr const char* kProcessorCategory = "Audio Module Class";
inline constexpr const char* kControllerCategory = "Component Controller Class";
inline constexpr const char* kSubCategories = "Fx|Dynamics";
inline constexpr const char* kSdkVersion = "VST 3.7.14";
// major.minor.sub.build
inline constexpr const char* kVersion = KVBR_VERSION ".0";

// The factory's classes, in its order; moduleinfo.json lists the same.
struct ClassEntry {
    Words cid;
    const char* category;
    const char* subCategories;
};
inline constexpr ClassEntry kClasses[] = {
    {kProcessorClass, kProcessorCategory, kSubCategories},
    {kControllerClass, kControllerCategory, ""},
};
inline constexpr int kClassCount = 2;
// Neither half may run apart from the other: no class flags.
inline constexpr std::uint32_t kClassFlags = 0;
inline constexpr std::int32_t kCardinality = 0x7FFFFFFF;

// The five controls keep their VST 2.x parameter indices as IDs (0, 2, 4, 5,
// 6, from core/controls.h); the rest lie well above them.
inline constexpr std::uint32_t kBypassId = 1000;
inline constexpr std::uint32_t kProgramId = 1001;
inline constexpr std::uint32_t kGainReductionId = 1002;
inline constexpr std::uint32_t kOversamplingId = 1003;
inline constexpr std::uint32_t kMixId = 1004;
inline constexpr std::uint32_t kSidechainFilterId = 1005;
inline constexpr std::uint32_t kKeyId = 1006;
// The one program list carries the program parameter's ID.
inline constexpr std::int32_t kProgramListId = static_cast<std::int32_t>(kProgramId);

}  // namespace vst3id
