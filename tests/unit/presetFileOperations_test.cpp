// Loading and saving preset and bank files through the headless dialogs:
// what reaches the bank, the panel and the user, and what never changes.
#include <gtest/gtest.h>

#include <stdlib.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "platform/headless/headlessDialogs.h"
#include "platform/headless/memorySettingsStore.h"
#include "formats/vst2/AutoComp.h"
#include "editor/presetFileOperations.h"
#include "recordingHost.h"

namespace fs = std::filesystem;
using platform::FileDialogRequest;
using platform::headless::dialogRequests;
using platform::headless::queueDialogAnswer;
using platform::headless::shownMessages;

namespace {

[[maybe_unused]] std::vector<unsigned char> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

struct BankState {
    std::string names[kBankPrograms];
    std::uint32_t bits[kBankPrograms][kProgramParams];
    vst2::int32 current;
    bool operator==(const BankState& o) const {
        for (int j = 0; j < kBankPrograms; ++j)
            if (names[j] != o.names[j] || std::memcmp(bits[j], o.bits[j], sizeof(bits[j])) != 0)
                return false;
        return current == o.current;
    }
};

BankState stateOf(CPresetSystemEffect& effect) {
    BankState s;
    for (int j = 0; j < kBankPrograms; ++j) {
        char name[25];
        effect.getBankProgram(j)->getName(name);
        s.names[j] = name;
        for (int k = 0; k < kProgramParams; ++k) {
            const float v = effect.getBankProgram(j)->getParam(k);
            std::memcpy(&s.bits[j][k], &v, 4);
        }
    }
    s.current = effect.getCurrentPreset();
    return s;
}

}  // namespace

struct FileOperations : ::testing::Test {
    void SetUp() override {
        platform::headless::memorySettingsStore().clear();
        platform::headless::resetDialogs();
        platform::headless::resetMessages();
        // A fresh folder per test, on every system the suite runs on.
        static int serial = 0;
        const auto base = fs::temp_directory_path() /
                          ("kvbr-files-" + std::to_string(std::random_device{}()) + "-" +
                           std::to_string(++serial));
        ASSERT_TRUE(fs::create_directories(base));
        dir = base.generic_string();
        effect = std::make_unique<AutoComp>(recordingHost);
        files = std::make_unique<CPresetFileOperations>(&effect->editorModel(), &panel);
        recordedCalls().clear();
    }
    void TearDown() override {
        platform::headless::resetDialogs();
        platform::headless::resetMessages();
        fs::remove_all(dir);
    }
    std::string path(const std::string& name) const { return dir + "/" + name; }
    std::string nameOf(int slot) {
        char name[25];
        effect->getBankProgram(slot)->getName(name);
        return name;
    }
    // Loads a file made of the given bytes; answers the messages shown.
    std::vector<std::string> load(bool bank, const std::vector<unsigned char>& bytes) {
        writeBytes(path("in.bin"), bytes);
        platform::headless::resetMessages();
        queueDialogAnswer(path("in.bin"));
        bank ? files->loadBank() : files->loadPreset();
        std::vector<std::string> texts;
        for (const auto& m : shownMessages()) texts.push_back(m.text);
        return texts;
    }

    std::string dir;
    FakePresetPanel panel;
    std::unique_ptr<AutoComp> effect;
    std::unique_ptr<CPresetFileOperations> files;
};

TEST_F(FileOperations, DialogRequestsAndRememberedFolder) {
    const std::string cwd = fs::current_path().string();
    EXPECT_STREQ(files->presetDirectory, cwd.c_str());
    EXPECT_STREQ(files->bankFileName, "");

    queueDialogAnswer(path("mine.kvp"));
    files->savePreset();
    ASSERT_EQ(dialogRequests().size(), 1u);
    const FileDialogRequest& save = dialogRequests()[0];
    EXPECT_EQ(save.kind, FileDialogRequest::Kind::save);
    EXPECT_EQ(save.title, "Save preset as...");
    ASSERT_EQ(save.filters.size(), 2u);
    EXPECT_EQ(save.filters[0].description, "All Files");
    EXPECT_EQ(save.filters[0].pattern, "*.*");
    EXPECT_EQ(save.filters[1].description, "Korvane Presets");
    EXPECT_EQ(save.filters[1].pattern, "*.kvp");
    EXPECT_EQ(save.selectedFilter, 2);
    EXPECT_EQ(save.defaultExtension, "kvp");
    EXPECT_EQ(save.startFolder, cwd);
    EXPECT_EQ(save.proposedFileName, "");
    EXPECT_TRUE(save.promptOverwrite);
    EXPECT_FALSE(save.fileMustExist);
    EXPECT_STREQ(files->presetDirectory, (dir + "/").c_str());
    EXPECT_STREQ(files->presetFileName, "mine.kvp");
    EXPECT_EQ(fs::current_path().string(), cwd) << "the host's current directory is never changed";

    files->loadBank();  // cancelled: nothing queued
    files->loadPreset();
    ASSERT_EQ(dialogRequests().size(), 3u);
    const FileDialogRequest& bank = dialogRequests()[1];
    EXPECT_EQ(bank.kind, FileDialogRequest::Kind::open);
    EXPECT_EQ(bank.title, "Select bank to load...");
    EXPECT_EQ(bank.filters[1].description, "Korvane Banks");
    EXPECT_EQ(bank.filters[1].pattern, "*.kvb");
    EXPECT_EQ(bank.defaultExtension, "kvb");
    EXPECT_EQ(bank.startFolder, dir + "/");
    EXPECT_EQ(bank.proposedFileName, "");
    EXPECT_TRUE(bank.fileMustExist);
    EXPECT_FALSE(bank.promptOverwrite);
    EXPECT_EQ(dialogRequests()[2].title, "Select preset to load...");
    EXPECT_EQ(dialogRequests()[2].proposedFileName, "mine.kvp");
    EXPECT_TRUE(shownMessages().empty());

    queueDialogAnswer(path("all.kvb"));
    files->saveBank();
    EXPECT_EQ(dialogRequests().back().title, "Save bank as...");
    EXPECT_STREQ(files->bankFileName, "all.kvb");
}

TEST_F(FileOperations, PathsWithoutFolderOrNameDoNothing) {
    const BankState before = stateOf(*effect);
    for (const char* answer : {"bare.kvp", "", "/tmp/folder/"}) {
        queueDialogAnswer(std::string(answer));
        files->savePreset();
        queueDialogAnswer(std::string(answer));
        files->loadPreset();
    }
    EXPECT_FALSE(fs::exists("bare.kvp"));
    EXPECT_TRUE(shownMessages().empty());
    EXPECT_STREQ(files->presetFileName, "");
    EXPECT_TRUE(stateOf(*effect) == before);
}

TEST_F(FileOperations, SavedFilesHaveTheirSizesAndLoadBackBitForBit) {
    effect->selectPreset(11);
    effect->setParameter(9, 0.3f);
    queueDialogAnswer(path("glue.kvp"));
    files->savePreset();
    queueDialogAnswer(path("bank.kvb"));
    files->saveBank();
    EXPECT_EQ(fs::file_size(path("glue.kvp")), 77u);
    EXPECT_EQ(fs::file_size(path("bank.kvb")), 2381u);
    EXPECT_TRUE(shownMessages().empty());
    const BankState saved = stateOf(*effect);
    // Nothing but the two files is left in the folder.
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir)) entries += e.is_regular_file();
    EXPECT_EQ(entries, 2);

    AutoComp other(recordingHost);
    CPresetFileOperations otherFiles(&other.editorModel(), nullptr);
    queueDialogAnswer(path("bank.kvb"));
    otherFiles.loadBank();
    BankState loaded = stateOf(other);
    loaded.current = saved.current;  // a loaded bank selects slot 0
    EXPECT_TRUE(loaded == saved);
    EXPECT_EQ(other.getCurrentPreset(), 0);

    other.selectPreset(3);
    queueDialogAnswer(path("glue.kvp"));
    otherFiles.loadPreset();
    for (int k = 0; k < kProgramParams; ++k) {
        EXPECT_EQ(other.getBankProgram(3)->getParam(k), effect->getBankProgram(11)->getParam(k));
        EXPECT_EQ(other.getParameter(k), effect->getBankProgram(11)->getParam(k));
    }
    char name[25];
    other.getBankProgram(3)->getName(name);
    EXPECT_STREQ(name, "Glue Things Together");
    EXPECT_TRUE(shownMessages().empty());
}

TEST_F(FileOperations, LoadingAPresetAppliesItToTheSelectedSlot) {
    effect->selectPreset(6);
    presetFiles::Record r;
    std::strcpy(r.name, "From disk");
    for (int k = 0; k < 12; ++k) r.values[k] = 0.25f;
    r.values[6] = 1.5f;   // clamped on the way in
    r.values[4] = NAN;    // stored as 0.0
    r.values[5] = -3.0f;
    const auto file = presetFiles::writePresetFile(r);
    panel.events.clear();
    recordedCalls().clear();
    EXPECT_TRUE(load(false, {file.begin(), file.end()}).empty());
    EXPECT_EQ(nameOf(6), "From disk");
    EXPECT_EQ(nameOf(0), "From disk");
    EXPECT_EQ(effect->getBankProgram(6)->getParam(6), 1.0f);
    EXPECT_EQ(effect->getParameter(6), 1.0f);
    EXPECT_EQ(effect->getParameter(4), 0.0f);
    EXPECT_EQ(effect->getParameter(5), 0.0f);
    EXPECT_EQ(effect->getBankProgram(0)->getParam(2), 0.25f);
    EXPECT_EQ(effect->getCurrentPreset(), 6);
    ASSERT_EQ(panel.events.size(), 1u);
    EXPECT_EQ(panel.events[0], "display From disk");
    EXPECT_EQ(countRecorded(vst2::audioMasterBeginEdit), 12) << "applied as a selection";
}

TEST_F(FileOperations, LoadingABankSelectsItsWorkingProgram) {
    std::array<presetFiles::Record, 33> records;
    for (int j = 0; j < 33; ++j) {
        std::snprintf(records[j].name, sizeof(records[j].name), "Loaded %d", j);
        for (int k = 0; k < 12; ++k) records[j].values[k] = static_cast<float>(j) / 40.0f;
    }
    effect->selectPreset(9);
    panel.events.clear();
    const auto file = presetFiles::writeBankFile(records);
    EXPECT_TRUE(load(true, {file.begin(), file.end()}).empty());
    EXPECT_EQ(effect->getCurrentPreset(), 0);
    EXPECT_EQ(nameOf(32), "Loaded 32");
    EXPECT_EQ(effect->getParameter(5), 0.0f) << "slot 0's values drive the engine";
    EXPECT_EQ(effect->getBankProgram(20)->getParam(5), 0.5f);
    ASSERT_EQ(panel.events.size(), 35u);
    EXPECT_EQ(panel.events[0], "entry 0 Loaded 0");
    EXPECT_EQ(panel.events[1], "entry 2 Loaded 1");
    EXPECT_EQ(panel.events[32], "entry 33 Loaded 32");
    EXPECT_EQ(panel.events[33], "select 0");
    EXPECT_EQ(panel.events[34], "field Loaded 0");
}

TEST_F(FileOperations, ForeignSizesRenameOnly) {
    effect->selectPreset(8);
    std::vector<unsigned char> preset(149, 0x3F);  // values that would read as 0.75 are ignored
    std::memcpy(preset.data(), "rBvK!", 5);
    std::memcpy(&preset[5], "Foreign\0", 8);
    EXPECT_TRUE(load(false, preset).empty());
    EXPECT_EQ(nameOf(8), "Foreign");
    EXPECT_EQ(nameOf(0), "Foreign");
    EXPECT_EQ(effect->getBankProgram(8)->getParam(6), 0.1f);
    EXPECT_EQ(effect->getParameter(6), 0.1f);

    const BankState before = stateOf(*effect);
    std::vector<unsigned char> bank(4325, 0);
    std::memcpy(bank.data(), "rBvK7", 5);
    for (int j = 0; j < 32; ++j) bank[5 + 24 * j] = static_cast<unsigned char>('A' + j);
    EXPECT_TRUE(load(true, bank).empty());
    EXPECT_EQ(nameOf(0), "A");
    EXPECT_EQ(nameOf(31), std::string(1, static_cast<char>('A' + 31)));
    EXPECT_EQ(nameOf(32), "Bus Comp 3");
    const BankState after = stateOf(*effect);
    for (int j = 1; j < kBankPrograms; ++j)
        EXPECT_EQ(std::memcmp(after.bits[j], before.bits[j], sizeof(after.bits[j])), 0) << j;
    EXPECT_EQ(effect->getCurrentPreset(), 0);
}

TEST_F(FileOperations, MessagesInTheirOrderAndTheBankUnchanged) {
    effect->selectPreset(4);
    const BankState before = stateOf(*effect);
    const auto preset = presetFiles::writePresetFile(presetFiles::Record{});
    const auto bank = presetFiles::writeBankFile(std::array<presetFiles::Record, 33>{});
    std::vector<unsigned char> presetBytes(preset.begin(), preset.end());
    std::vector<unsigned char> bankBytes(bank.begin(), bank.end());

    const std::vector<std::string> invalid = {"Error #01: Invalid preset file!"};
    auto broken = presetBytes;
    broken[0] = 'R';
    EXPECT_EQ(load(false, broken), invalid);
    broken[4] = 0x37;  // the magic is checked before the kind
    EXPECT_EQ(load(true, broken), invalid);
    EXPECT_EQ(load(false, bankBytes), std::vector<std::string>{"Error #02: Not a preset file!"});
    EXPECT_EQ(load(true, presetBytes), std::vector<std::string>{"Not a bank file!"});
    ASSERT_EQ(shownMessages().size(), 1u);
    EXPECT_EQ(shownMessages()[0].caption, "Error...");
    EXPECT_EQ(shownMessages()[0].icon, platform::MessageIcon::error);

    // Files cut short change nothing and say so.
    EXPECT_EQ(load(false, {presetBytes.begin(), presetBytes.begin() + 50}), invalid);
    EXPECT_EQ(load(true, {bankBytes.begin(), bankBytes.begin() + 2380}), invalid);
    EXPECT_EQ(load(true, {}), invalid);
    // A file far too large to be ours.
    bankBytes.resize(2 << 20);
    EXPECT_EQ(load(true, bankBytes), invalid);
    EXPECT_TRUE(stateOf(*effect) == before);

    // A file that cannot be opened ends the load silently.
    platform::headless::resetMessages();
    queueDialogAnswer(path("missing.kvb"));
    files->loadBank();
    EXPECT_TRUE(shownMessages().empty());
    EXPECT_TRUE(stateOf(*effect) == before);
    EXPECT_STREQ(files->bankFileName, "missing.kvb") << "the choice is still remembered";
}

TEST_F(FileOperations, FailedSaveSaysSoAndKeepsTheOldFile) {
    queueDialogAnswer(path("no/such/folder/x.kvb"));
    files->saveBank();
    ASSERT_EQ(shownMessages().size(), 1u);
    EXPECT_EQ(shownMessages()[0].text, "Error #03: Could not save file!");
    EXPECT_EQ(shownMessages()[0].caption, "Error...");
    EXPECT_EQ(shownMessages()[0].icon, platform::MessageIcon::error);

    fs::create_directory(path("folder.kvp"));
    platform::headless::resetMessages();
    queueDialogAnswer(path("folder.kvp"));
    files->savePreset();
    EXPECT_EQ(shownMessages().size(), 1u) << "a folder in the way";

#ifndef _WIN32
    // A write that runs out of room mid-file leaves the earlier file whole.
    const std::vector<unsigned char> old(300, 0xAB);
    writeBytes(path("keep.kvb"), old);
    platform::headless::resetMessages();
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    queueDialogAnswer(path("keep.kvb"));
    files->saveBank();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);
    ASSERT_EQ(shownMessages().size(), 1u);
    EXPECT_EQ(shownMessages()[0].text, "Error #03: Could not save file!");
    EXPECT_EQ(readBytes(path("keep.kvb")), old);
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir)) entries += e.is_regular_file();
    EXPECT_EQ(entries, 1) << "no temporary file is left behind";
#else
    writeBytes(path("keep.kvb"), std::vector<unsigned char>(300, 0xAB));
#endif

    // The same save with room to spare replaces the file.
    platform::headless::resetMessages();
    queueDialogAnswer(path("keep.kvb"));
    files->saveBank();
    EXPECT_TRUE(shownMessages().empty());
    EXPECT_EQ(fs::file_size(path("keep.kvb")), 2381u);
}

TEST_F(FileOperations, WithoutEffectNothingIsAsked) {
    CPresetFileOperations detached;
    queueDialogAnswer(path("x.kvb"));
    detached.saveBank();
    detached.loadPreset();
    EXPECT_TRUE(dialogRequests().empty());
    EXPECT_FALSE(fs::exists(path("x.kvb")));
}
