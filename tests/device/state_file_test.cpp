// The state folder: a device keeps its modes, names, passwords, current mode and working
// settings across runs; damaged files are reported, kept aside and replaced by the factory state.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include <gtest/gtest.h>

#include "device/device_harness.h"
#include "device/state_keeper.h"

namespace vellora::device {
namespace {

using namespace testing;

TEST(StateFolder, SavedShortlyAfterChangesLoadedByTheNextDeviceDamagedFilesKeptAside) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("dev");
    const QString path = StateFilePath(folder);
    {
        DeviceHarness first;
        StateKeeper keeper(first.device, first.clock, folder);
        EXPECT_EQ(keeper.Load(), DeviceError::StateNotFound);
        (void)first.Ask(CommandFrame(1, 3, 4, 0));  // reads change nothing
        (void)first.Ask(CommandFrame(4, 0x23, 0x23, 0x23));
        (void)first.Ask(CommandFrame(8, 0, 2, 0, Hex("00 00 00 00 00 00")));
        EXPECT_FALSE(keeper.HasUnsavedChanges());
        RunSteps(first,
                 {{CommandFrame(0, 1, 0, 7, Hex("02 0C 00 C8 01 0A 00 14")), "FE 05 00 53 56"},
                  {CommandFrame(0, 0, 10, 38, Hex("00 08")), "FE 05 00 53 56"},
                  {CommandFrame(3, 4, 0, 0), "FE 05 03 53 59"},
                  {CommandFrame(8, 0, 2, 1, Hex("00 00 00 00 00 00 01 02 03 04 05 06")),
                   "FE 05 08 53 5E"}},
                 "a dance band, a setting of no mode, a saved mode, a password");
        EXPECT_TRUE(keeper.HasUnsavedChanges());
        EXPECT_FALSE(QFile::exists(path));
        first.clock.AdvanceBy(StateKeeper::kSaveDelayMs);
        EXPECT_FALSE(keeper.HasUnsavedChanges());
        EXPECT_TRUE(QFile::exists(path));
        ModeName name{};
        ASSERT_EQ(MakeModeName(Hex("4B 54 56"), name), DeviceError::Ok);
        ASSERT_EQ(first.device.State().SetName(4, name), DeviceError::Ok);
        keeper.MarkChanged();  // the name was set through State()
    }                          // the keeper saves on the way out
    {
        DeviceHarness second;
        StateKeeper keeper(second.device, second.clock, folder);
        ASSERT_EQ(keeper.Load(), DeviceError::Ok);
        EXPECT_FALSE(keeper.HasUnsavedChanges());
        const ProcessorState& s = second.device.State();
        EXPECT_EQ(s.CurrentMode(), 4);
        EXPECT_EQ(s.Working().Slot(7, 1)->Gain, 260);
        EXPECT_EQ(s.Mode(4)->Slot(7, 1)->Gain, 260);
        EXPECT_EQ(s.Working().ValueAt(2598, 0), 8);
        EXPECT_EQ(s.Administrator(), (AdminPassword{1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(s.Names()[4][0], 0x4B);
        EXPECT_EQ(s.Names()[5], FactoryModeName(5));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes[200] = static_cast<char>(bytes[200] ^ 0x01);
    ASSERT_TRUE(file.seek(0) && file.write(bytes) == bytes.size());
    file.close();

    DeviceHarness third;
    StateKeeper keeper(third.device, third.clock, folder);
    EXPECT_EQ(keeper.Load(), DeviceError::StateCorrupt);
    EXPECT_EQ(third.device.State().CurrentMode(), 0);
    EXPECT_TRUE(keeper.DamagedCopy().startsWith(path + ".")) << keeper.DamagedCopy().toStdString();
    EXPECT_TRUE(keeper.DamagedCopy().endsWith(".damaged"));
    QFile kept(keeper.DamagedCopy());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), bytes);
    ASSERT_EQ(keeper.Save(), DeviceError::Ok);
    ProcessorState read;
    EXPECT_EQ(LoadStateFile(folder, read), DeviceError::Ok);
}

TEST(StateFolder, EveryDamagedFileIsKeptUnderItsOwnTimeStampedName) {
    QTemporaryDir dir;
    const QString path = StateFilePath(dir.path());
    // Two damaged files one after the other, as fast as they come (the same second, likely).
    std::vector<QString> copies;
    for (const char* damaged : {"first damage", "second damage"}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
        file.close();
        const QDateTime written = QFileInfo(path).lastModified();
        DeviceHarness h;
        StateKeeper keeper(h.device, h.clock, dir.path());
        EXPECT_EQ(keeper.Load(), DeviceError::StateCorrupt);
        copies.push_back(keeper.DamagedCopy());
        // Named after the time the damaged file was written.
        const QString stamp = written.toString(QStringLiteral("yyyyMMdd-HHmmss"));
        EXPECT_TRUE(keeper.DamagedCopy().startsWith(path + "." + stamp))
            << keeper.DamagedCopy().toStdString();
    }
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_NE(copies[0], copies[1]);
    const QByteArray expected[] = {"first damage", "second damage"};
    for (std::size_t i = 0; i < 2; ++i) {
        QFile kept(copies[i]);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << copies[i].toStdString();
        EXPECT_EQ(kept.readAll(), expected[i]);
    }
}

// Seals changed file bytes again with the CRC-32 of everything before the last four bytes,
// computed bit by bit here, so that only the content check can refuse them.
void Reseal(Bytes& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i + 4 < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k) crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    for (std::size_t i = 0; i < 4; ++i)
        bytes[bytes.size() - 4 + i] = static_cast<std::uint8_t>(~crc >> (8 * i));
}

TEST(StateFolder, EveryKindOfDamageIsCaughtAndChangesNothing) {
    ProcessorState state;
    ASSERT_EQ(state.SetCurrentMode(3), DeviceError::Ok);
    const Bytes good = EncodeState(state);
    struct Damage {
        const char* Name;
        std::function<void(Bytes&)> Change;
        bool Resealed = false;  ///< only the content check can refuse it
    };
    const Damage damages[] = {
        {"shortened", [](Bytes& b) { b.pop_back(); }},
        {"longer", [](Bytes& b) { b.push_back(0); }},
        {"empty", [](Bytes& b) { b.clear(); }},
        {"another tag", [](Bytes& b) { b[0] = 'X'; }, true},
        {"a changed byte", [](Bytes& b) { b[300] ^= 1; }},
        {"current mode 11", [](Bytes& b) { b[8] = 11; }, true},
        {"an administrator digit of 10", [](Bytes& b) { b[9] = 10; }, true},
        {"a name byte that would break the names reply", [](Bytes& b) { b[19] = 0xFE; }, true},
    };
    for (const Damage& d : damages) {
        Bytes bytes = good;
        d.Change(bytes);
        if (d.Resealed) Reseal(bytes);
        ProcessorState untouched;
        EXPECT_EQ(DecodeState(bytes, untouched), DeviceError::StateCorrupt) << d.Name;
        EXPECT_EQ(untouched.CurrentMode(), 0) << d.Name;
    }
    Bytes possible = good;
    possible[8] = 10;
    possible[9] = 9;
    possible[19] = 0x41;
    Reseal(possible);
    ASSERT_EQ(DecodeState(possible, state), DeviceError::Ok);
    EXPECT_EQ(state.CurrentMode(), 10);
    EXPECT_EQ(state.Administrator()[0], 9);
    EXPECT_EQ(state.Names()[0][0], 0x41);
}

TEST(StateFolder, FolderInThePlaceOfTheFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(kStateFileName)));
    ProcessorState state;
    EXPECT_EQ(LoadStateFile(dir.path(), state), DeviceError::StateReadFailed);
    EXPECT_EQ(SaveStateFile(dir.path(), state), DeviceError::StateWriteFailed);
}

}  // namespace
}  // namespace vellora::device
