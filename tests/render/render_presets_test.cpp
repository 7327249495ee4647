// Presets in the renderer: factory presets by name and slot, and preset and
// bank files written with the plug-in's own format code, applied exactly.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "core/programs/CProgram.h"
#include "core/programs/factoryPresets.h"
#include "core/programs/presetFiles.h"
#include "renderTestSupport.h"

namespace {

constexpr double kRate = 44100.0;
constexpr int kBlock = 512;

struct Presets : ::testing::Test {
    ScratchFolder folder;
    std::vector<double> signal = testSignal(2, kRate, 0.5);
    void SetUp() override {
        writeAudio(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kRate, signal);
    }

    // Renders with the arguments and expects exactly the test host's render
    // with these twelve values.
    void expectRenderedWith(std::vector<std::string> args, const float (&values)[12]) {
        args.insert(args.begin(), {"in.wav", "out.wav", "--force", "--precision", "32", "--block",
                                   std::to_string(kBlock), "--report", "report.json"});
        const ToolRun run = runTool(args, folder.path);
        ASSERT_EQ(run.status, 0) << run.err;
        std::vector<std::pair<int, float>> parameters;
        for (int i = 0; i < 12; ++i) parameters.emplace_back(i, values[i]);
        const Decoded in = readAudio(folder.file("in.wav"));
        const std::vector<double> expected =
            renderWithTestHost(in.samples, 2, kRate, kBlock, false, parameters);
        const Decoded out = readAudio(folder.file("out.wav"));
        ASSERT_EQ(out.samples.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(static_cast<float>(out.samples[i]), static_cast<float>(expected[i])) << "sample " << i;
        std::remove(folder.file("report.json").c_str());
    }

    std::string report(std::vector<std::string> args) {
        args.insert(args.begin(), {"in.wav", "out.wav", "--force", "--report", "r.json"});
        const ToolRun run = runTool(args, folder.path);
        EXPECT_EQ(run.status, 0) << run.err;
        std::ifstream in(folder.file("r.json"));
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    void writeBytes(const std::string& name, const unsigned char* data, size_t size) {
        std::ofstream(folder.file(name), std::ios::binary).write(reinterpret_cast<const char*>(data), size);
    }
};

presetFiles::Record record(const char* name, std::initializer_list<float> values) {
    presetFiles::Record r;
    std::strncpy(r.name, name, kProgramNameLength);
    int i = 0;
    for (float v : values) r.values[i++] = v;
    return r;
}

void factoryValues(int slot, float (&values)[12]) {
    CProgram program;
    writeFactoryPreset(slot, program);
    for (int i = 0; i < 12; ++i) values[i] = program.getParam(i);
}

}  // namespace

TEST_F(Presets, FactoryPresetsByNameAndBySlot) {
    float pump[12];
    factoryValues(14, pump);
    expectRenderedWith({"--preset", "Make it Pump"}, pump);
    expectRenderedWith({"--slot", "14"}, pump);
    expectRenderedWith({"--preset", "make IT pump"}, pump);
    // --set follows the preset: Output from 5.5 dB up to 12 dB.
    float louder[12];
    factoryValues(14, louder);
    louder[6] = 0.4f;  // shows 12.00; every value that does renders alike
    expectRenderedWith({"--preset", "Make it Pump", "--set", "Output=12"}, louder);
    EXPECT_NE(report({"--preset", "Vox"}).find("\"preset\": \"Vox\""), std::string::npos);
}

TEST_F(Presets, PresetFileRoundTrip) {
    const presetFiles::Record saved =
        record("Saved Smash", {0.5f, 0.0f, 1.0f, 0.0f, 0.15f, 0.8f, 0.25f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    const auto bytes = presetFiles::writePresetFile(saved);
    writeBytes("smash.kvp", bytes.data(), bytes.size());
    expectRenderedWith({"--preset-file", "smash.kvp"}, saved.values);
    const std::string json = report({"--preset-file", "smash.kvp"});
    EXPECT_NE(json.find("\"preset\": \"Saved Smash\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"display\": \"10:1\""), std::string::npos) << json;
}

TEST_F(Presets, BankFileRoundTrip) {
    std::array<presetFiles::Record, kBankPrograms> bank;
    for (int slot = 0; slot < kBankPrograms; ++slot) {
        CProgram program;
        writeFactoryPreset(slot, program);
        bank[slot] = presetFiles::recordOf(program);
    }
    bank[0] = record("Working", {1.0f, 0.0f, 0.0f, 0.0f, 0.9f, 0.3f, 0.05f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    bank[7] = record("Seventh Heaven", {0.5f, 0.0f, 0.8333333f, 0.0f, 0.0f, 1.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    const auto bytes = presetFiles::writeBankFile(bank);
    writeBytes("mine.kvb", bytes.data(), bytes.size());
    expectRenderedWith({"--bank-file", "mine.kvb", "--slot", "7"}, bank[7].values);
    expectRenderedWith({"--bank-file", "mine.kvb", "--preset", "seventh heaven"}, bank[7].values);
    expectRenderedWith({"--bank-file", "mine.kvb"}, bank[0].values);
}

TEST_F(Presets, FilesOfTheWrongKindOrShape) {
    const auto preset = presetFiles::writePresetFile(record("P", {1.0f}));
    std::array<presetFiles::Record, kBankPrograms> records{};
    const auto bank = presetFiles::writeBankFile(records);
    writeBytes("p.kvp", preset.data(), preset.size());
    writeBytes("b.kvb", bank.data(), bank.size());
    writeBytes("short.kvp", preset.data(), preset.size() - 1);
    writeBytes("foreign.kvp", reinterpret_cast<const unsigned char*>("RIFF....WAVEfmt "), 16);
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* words;
    };
    const Case cases[] = {
        {{"--preset-file", "b.kvb"}, 2, "is a bank file, not a preset file"},
        {{"--bank-file", "p.kvp"}, 2, "is a preset file, not a bank file"},
        {{"--preset-file", "short.kvp"}, 1, "is cut short"},
        {{"--preset-file", "foreign.kvp"}, 1, "is not a Korvane Brassel preset file"},
        {{"--preset-file", "none.kvp"}, 1, "no such file: none.kvp"},
        {{"--preset", "Nonesuch"}, 2, "no preset named \"Nonesuch\""},
        {{"--bank-file", "b.kvb", "--preset", "Nonesuch"}, 2, "no preset named"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"in.wav", "out.wav"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ToolRun run = runTool(args, folder.path);
        EXPECT_EQ(run.status, c.status) << c.words;
        EXPECT_NE(run.err.find(c.words), std::string::npos) << run.err;
        EXPECT_FALSE(std::ifstream(folder.file("out.wav")).good()) << c.words;
    }
}
