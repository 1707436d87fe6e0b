// The state folder: a device keeps its modes, names, passwords, current mode and working
// settings across runs; damaged files are reported, kept aside and replaced by the factory state.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "device/device_harness.h"
#include "device/state_file.h"
#include "device/state_keeper.h"

namespace vellora::device {
namespace {

using testing::Bytes;
using testing::CommandFrame;
using testing::DeviceHarness;
using testing::Hex;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Changes a device the way a terminal would, through its commands.
void Tune(DeviceHarness& h) {
    ASSERT_EQ(h.Ask(CommandFrame(0, 1, 0, 7, Hex("02 0C 00 C8 01 0A 00 14"))),
              Hex("FE 05 00 53 56"));
    ASSERT_EQ(h.Ask(CommandFrame(0, 0, 10, 38, Hex("00 08"))), Hex("FE 05 00 53 56"));
    ASSERT_EQ(h.Ask(CommandFrame(3, 4, 0, 0)), Hex("FE 05 03 53 59"));
    ASSERT_EQ(h.Ask(CommandFrame(8, 0, 2, 1, Hex("00 00 00 00 00 00 01 02 03 04 05 06"))),
              Hex("FE 05 08 53 5E"));
    ModeName name{};
    ASSERT_EQ(MakeModeName(Hex("4B 54 56"), name), DeviceError::Ok);
    ASSERT_EQ(h.device.State().SetName(4, name), DeviceError::Ok);
}

void ExpectTuned(const ProcessorState& s) {
    EXPECT_EQ(s.CurrentMode(), 4);
    EXPECT_EQ(s.Working().Slot(7, 1)->Gain, 260);
    EXPECT_EQ(s.Mode(4)->Slot(7, 1)->Gain, 260);
    EXPECT_EQ(s.Mode(3)->Slot(7, 1)->Gain, 250);
    EXPECT_EQ(s.Working().ValueAt(2598, 0), 8);
    EXPECT_EQ(s.Administrator(), (AdminPassword{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(s.Panel(), (PanelPassword{0, 0, 0, 0}));
    EXPECT_EQ(s.Names()[4][0], 0x4B);
    EXPECT_EQ(s.Names()[5], FactoryModeName(5));
}

TEST(StateFolder, SecondDeviceStartsWhereTheFirstStopped) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("dev");
    {
        DeviceHarness first;
        StateKeeper keeper(first.device, first.clock, folder);
        EXPECT_EQ(keeper.Load(), DeviceError::StateNotFound);
        Tune(first);
        keeper.MarkChanged();  // the name was set through State()
    }                          // the keeper saves on the way out
    DeviceHarness second;
    StateKeeper keeper(second.device, second.clock, folder);
    ASSERT_EQ(keeper.Load(), DeviceError::Ok);
    ExpectTuned(second.device.State());
    EXPECT_FALSE(keeper.HasUnsavedChanges());
}

TEST(StateFolder, ChangesAreSavedShortlyAfterwardsOnTheClock) {
    QTemporaryDir dir;
    DeviceHarness h;
    StateKeeper keeper(h.device, h.clock, dir.path());
    (void)h.Ask(CommandFrame(3, 9, 0, 0), 10);
    EXPECT_TRUE(keeper.HasUnsavedChanges());
    EXPECT_FALSE(QFile::exists(StateFilePath(dir.path())));
    h.clock.AdvanceBy(StateKeeper::kSaveDelayMs);
    EXPECT_FALSE(keeper.HasUnsavedChanges());
    ProcessorState read;
    ASSERT_EQ(LoadStateFile(dir.path(), read), DeviceError::Ok);
    EXPECT_EQ(read.CurrentMode(), 9);
}

TEST(StateFolder, ReadsChangeNothingAndSaveNothing) {
    QTemporaryDir dir;
    DeviceHarness h;
    StateKeeper keeper(h.device, h.clock, dir.path());
    (void)h.Ask(CommandFrame(1, 3, 4, 0));
    (void)h.Ask(CommandFrame(4, 0x23, 0x23, 0x23));
    (void)h.Ask(CommandFrame(8, 0, 2, 0, Hex("00 00 00 00 00 00")));
    EXPECT_FALSE(keeper.HasUnsavedChanges());
}

TEST(StateFolder, DamagedFileIsReportedKeptAsideAndReplacedByTheFactoryState) {
    QTemporaryDir dir;
    {
        DeviceHarness first;
        Tune(first);
        ASSERT_EQ(SaveStateFile(dir.path(), first.device.State()), DeviceError::Ok);
    }
    const QString path = StateFilePath(dir.path());
    QByteArray bytes = ReadAll(path);
    bytes[200] = static_cast<char>(bytes[200] ^ 0x01);
    WriteAll(path, bytes);

    DeviceHarness h;
    ASSERT_EQ(h.device.State().SetCurrentMode(2), DeviceError::Ok);
    StateKeeper keeper(h.device, h.clock, dir.path());
    EXPECT_EQ(keeper.Load(), DeviceError::StateCorrupt);
    EXPECT_EQ(h.device.State().CurrentMode(), 0);
    EXPECT_EQ(h.device.State().Mode(4)->Slot(7, 1)->Gain, 250);
    EXPECT_EQ(keeper.DamagedCopy(), path + ".damaged");
    EXPECT_EQ(ReadAll(keeper.DamagedCopy()), bytes);
    ASSERT_EQ(keeper.Save(), DeviceError::Ok);
    ProcessorState read;
    EXPECT_EQ(LoadStateFile(dir.path(), read), DeviceError::Ok);
}

TEST(StateFolder, EveryKindOfDamageIsCaught) {
    ProcessorState state;
    ASSERT_EQ(state.SetCurrentMode(3), DeviceError::Ok);
    const Bytes good = EncodeState(state);
    ProcessorState target;
    ASSERT_EQ(DecodeState(good, target), DeviceError::Ok);
    EXPECT_EQ(target.CurrentMode(), 3);

    ProcessorState untouched;
    Bytes shortened(good.begin(), good.end() - 1);
    EXPECT_EQ(DecodeState(shortened, untouched), DeviceError::StateCorrupt);
    Bytes longer = good;
    longer.push_back(0);
    EXPECT_EQ(DecodeState(longer, untouched), DeviceError::StateCorrupt);
    Bytes tag = good;
    tag[0] = 'X';
    EXPECT_EQ(DecodeState(tag, untouched), DeviceError::StateCorrupt);
    EXPECT_EQ(DecodeState({}, untouched), DeviceError::StateCorrupt);
    EXPECT_EQ(untouched.CurrentMode(), 0);
}

// Seals changed file bytes again with the CRC-32 of everything before the last four bytes,
// computed bit by bit here, so that only the content check can refuse them.
void Reseal(Bytes& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i + 4 < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k) crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    crc = ~crc;
    for (std::size_t i = 0; i < 4; ++i)
        bytes[bytes.size() - 4 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
}

TEST(StateFolder, WellSealedButImpossibleContentIsRefused) {
    ProcessorState state;
    Bytes bytes = EncodeState(state);
    bytes[8] = 11;  // current mode 11 does not exist
    Reseal(bytes);
    EXPECT_EQ(DecodeState(bytes, state), DeviceError::StateCorrupt);
    bytes[8] = 10;
    bytes[9] = 10;  // an administrator digit of 10
    Reseal(bytes);
    EXPECT_EQ(DecodeState(bytes, state), DeviceError::StateCorrupt);
    bytes[9] = 9;
    bytes[19] = 0xFE;  // a name byte that would break the names reply
    Reseal(bytes);
    EXPECT_EQ(DecodeState(bytes, state), DeviceError::StateCorrupt);
    bytes[19] = 0x41;
    Reseal(bytes);
    ASSERT_EQ(DecodeState(bytes, state), DeviceError::Ok);
    EXPECT_EQ(state.CurrentMode(), 10);
    EXPECT_EQ(state.Administrator()[0], 9);
    EXPECT_EQ(state.Names()[0][0], 0x41);
}

TEST(StateFolder, FileOfAnotherSizeOrAFolderInItsPlace) {
    QTemporaryDir dir;
    WriteAll(StateFilePath(dir.path()), QByteArray(100, 'x'));
    ProcessorState state;
    EXPECT_EQ(LoadStateFile(dir.path(), state), DeviceError::StateCorrupt);

    QTemporaryDir other;
    ASSERT_TRUE(QDir(other.path()).mkdir(QString::fromLatin1(kStateFileName)));
    EXPECT_EQ(LoadStateFile(other.path(), state), DeviceError::StateReadFailed);
    EXPECT_EQ(SaveStateFile(other.path(), state), DeviceError::StateWriteFailed);
}

}  // namespace
}  // namespace vellora::device
