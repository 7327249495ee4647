// Writes the bundle's Contents/Resources/moduleinfo.json from the tables the
// factory answers from (vst3/identity.h), so that the two cannot disagree.
//
//   kvbr-vst3-moduleinfo OUTPUT.json
#include <cstdio>
#include <string>

#include "formats/vst3/identity.h"

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

std::string cidText(const vst3id::Words& w) {
    char text[33];
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X", static_cast<unsigned>(w.l1),
                  static_cast<unsigned>(w.l2), static_cast<unsigned>(w.l3), static_cast<unsigned>(w.l4));
    return text;
}

// "Fx|Dynamics" as ["Fx", "Dynamics"].
std::string subCategoryList(const std::string& joined) {
    std::string out = "[";
    size_t start = 0;
    while (start < joined.size()) {
        size_t bar = joined.find('|', start);
        if (bar == std::string::npos) bar = joined.size();
        out += (out.size() > 1 ? ", " : "") + quoted(joined.substr(start, bar - start));
        start = bar + 1;
    }
    return out + "]";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvbr-vst3-moduleinfo OUTPUT.json\n");
        return 2;
    }
    std::string json = "{\n";
    json += "  \"Name\": " + quoted(vst3id::kName) + ",\n";
    json += "  \"Version\": " + quoted(vst3id::kVersion) + ",\n";
    json += "  \"Factory Info\": {\n";
    json += "    \"Vendor\": " + quoted(vst3id::kVendor) + ",\n";
    json += "    \"URL\": " + quoted(vst3id::kUrl) + ",\n";
    json += "    \"E-Mail\": " + quoted(vst3id::kEmail) + ",\n";
    json += "    \"Flags\": {\"Unicode\": true, \"Classes Discardable\": false, "
            "\"Component Non Discardable\": false}\n";
    json += "  },\n";
    json += "  \"Classes\": [\n";
    for (int i = 0; i < vst3id::kClassCount; ++i) {
        const vst3id::ClassEntry& entry = vst3id::kClasses[i];
        json += "    {\n";
        json += "      \"CID\": " + quoted(cidText(entry.cid)) + ",\n";
        json += "      \"Category\": " + quoted(entry.category) + ",\n";
        json += "      \"Name\": " + quoted(vst3id::kName) + ",\n";
        json += "      \"Vendor\": " + quoted(vst3id::kVendor) + ",\n";
        json += "      \"Version\": " + quoted(vst3id::kVersion) + ",\n";
        json += "      \"SDKVersion\": " + quoted(vst3id::kSdkVersion) + ",\n";
        json += "      \"Sub Categories\": " + subCategoryList(entry.subCategories) + ",\n";
        json += "      \"Class Flags\": " + std::to_string(vst3id::kClassFlags) + ",\n";
        json += "      \"Cardinality\": " + std::to_string(vst3id::kCardinality) + "\n";
        json += std::string("    }") + (i + 1 < vst3id::kClassCount ? "," : "") + "\n";
    }
    json += "  ]\n}\n";
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::fprintf(stderr, "kvbr-vst3-moduleinfo: cannot write %s\n", argv[1]);
        return 1;
    }
    const bool written = std::fwrite(json.data(), 1, json.size(), out) == json.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
