// Settings files from the window: the names a save writes, the size of the file, the load
// refused without the link or for a file of another size, the snapshot before the write, and
// a save followed by a load through the simulated processor.
#include "admin/file_operation.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>

#include "admin/admin_fixture.h"
#include "storage/settings_codec.h"
#include "storage/settings_file.h"
#include "storage/storage_error.h"

namespace vellora::admin::test {
namespace {

using Kind = protocol::testing::ScriptedPrompts::Kind;

class FileOperationTest : public LauncherTest {
protected:
    FileOperationTest() { frame->SetFileOperation(&files); }
    QString In(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    ScriptedFileChooser chooser;
    FileOperation files{ws, session, prompts, chooser};
};

TEST_F(FileOperationTest, SavesUnderTheChosenNameWithTheExtension) {
    OpenFrame();  // saving needs no link
    const struct {
        const char* chosen;
        const char* written;
    } cases[] = {{"abc", "abc.VL"},
                 {"abc.vl", "abc.vl"},
                 {"ABC.VL", "ABC.VL"},
                 {"abc.v", "abc.v.VL"},
                 {"mode.txt", "mode.txt.VL"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        prompts.ClearRecord();
        chooser.Paths = {In(c.chosen)};
        frame->Entry("Command3")->trigger();
        EXPECT_EQ(QFileInfo(In(c.written)).size(), 252000);
        EXPECT_EQ(prompts.Texts(Kind::Warning), std::vector<std::string>{"已写入文件！"});
    }
    EXPECT_FALSE(QFileInfo::exists(In("abc")));
    EXPECT_EQ(chooser.Asked.size(), 5);
    EXPECT_EQ(chooser.Asked.front(), QStringLiteral("save .VL"));

    prompts.ClearRecord();
    EXPECT_EQ(files.SaveConfigFile(), FileOutcome::Cancelled);  // no path: cancelled
    EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(FileOperationTest, LoadingIsRefusedWithoutTheLinkOrForAFileOfAnotherSize) {
    OpenFrame();
    frame->Entry("Command20")->trigger();
    EXPECT_EQ(prompts.Texts(Kind::Warning),
              std::vector<std::string>{"设备未联机！无法进行该操作。"});
    EXPECT_TRUE(chooser.Asked.isEmpty()) << "refused before the dialog";

    // Linked: a short file is no settings file, a missing one ends the load silently.
    frame.reset();
    frame = std::make_unique<MdiMain>(
        LauncherContext{ws, clock, pictures, look, session, prompts, true});
    session.SetViews(frame->Views());
    frame->SetFileOperation(&files);
    OpenLinked();
    QFile shortFile(In("short.VL"));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(QByteArray(1000, '\0'));
    shortFile.close();
    const model::ParamTable image = ws.ModeImage;
    const uint32_t sent = Sent();
    prompts.ClearRecord();
    chooser.Paths = {In("short.VL"), In("missing.VL")};
    EXPECT_EQ(files.LoadConfigFile(), FileOutcome::FileError);
    EXPECT_EQ(prompts.Texts(Kind::Warning),
              std::vector<std::string>{
                  std::string(storage::StorageErrorMessage(storage::StorageError::WrongSize))});
    EXPECT_EQ(files.LoadConfigFile(), FileOutcome::Cancelled);
    EXPECT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(Sent(), sent) << "nothing reached the device";
    EXPECT_EQ(storage::EncodeTable(ws.ModeImage), storage::EncodeTable(image));
}

// A file of the right size whose FilterTypes are not this processor's would reach the device
// shifted: it is refused before the snapshot, nothing is sent and the ModeImage stays.
TEST_F(FileOperationTest, AFileOfAnotherLayoutIsRefusedBeforeAnythingIsSent) {
    OpenLinked();
    std::vector<uint8_t> bytes = storage::EncodeTable(ws.ParamStore);
    bytes[storage::SlotOffset(0, 0) + storage::slot_offset::kFilterType] = 0;
    QFile file(In("other.VL"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    file.close();
    int snapshots = 0;
    files.SetSnapshotBeforeWrite([&](int, QString&) { return ++snapshots > 0; });
    const model::ParamTable image = ws.ModeImage;
    const uint32_t sent = Sent();
    prompts.ClearRecord();
    chooser.Paths = {In("other.VL")};
    EXPECT_EQ(files.LoadConfigFile(), FileOutcome::FileError);
    EXPECT_EQ(prompts.Texts(Kind::Warning),
              std::vector<std::string>{
                  std::string(storage::StorageErrorMessage(storage::StorageError::WrongLayout))});
    EXPECT_EQ(snapshots, 0);
    EXPECT_EQ(Sent(), sent);
    EXPECT_EQ(storage::EncodeTable(ws.ModeImage), storage::EncodeTable(image));
}

TEST_F(FileOperationTest, SavedSettingsComeBackFromTheDevice) {
    OpenLinked();
    ASSERT_TRUE(Device().SetCurrentMode(4) == device::DeviceError::Ok);
    ASSERT_EQ(session.Synchronise(), protocol::CommandStatus::Ok);
    ASSERT_EQ(session.Link().CurrentMode(), 4);
    // The settings to keep: a master slider, a band's gain, a recording level.
    ws.ParamStore.SetValueAt(model::entry::kMasterSlider0, 0, 47);
    ws.ParamStore.Slot(3, 0)->Gain = 300;
    ws.ParamStore.SetValueAt(2050, 0, 140);
    chooser.Paths = {In("keep")};
    ASSERT_EQ(files.SaveConfigFile(), FileOutcome::Done);
    std::vector<uint8_t> saved;
    ASSERT_EQ(storage::ReadSettingsBytes(In("keep.VL"), saved), storage::StorageError::Ok);
    const std::vector<uint8_t> kept = storage::EncodeTable(ws.ParamStore);
    EXPECT_EQ(saved, kept);

    // The store and the device move on; the undo history holds a step.
    ws.ParamStore.SetValueAt(model::entry::kMasterSlider0, 0, 5);
    Device().Working().SetValueAt(2050, 0, 3);
    frame->Editor()->Undo().RecordUndo();
    ASSERT_TRUE(frame->Editor()->Undo().CanUndo());

    // A refused snapshot keeps the device as it is; an accepted one comes before the write.
    std::vector<int> snapshots;
    files.SetSnapshotBeforeWrite([&](int mode, QString& error) {
        snapshots.push_back(mode);
        error = QStringLiteral("disk full");
        return snapshots.size() > 1;
    });
    const uint32_t sent = Sent();
    prompts.ClearRecord();
    chooser.Paths = {In("keep.VL"), In("keep.VL")};
    EXPECT_EQ(files.LoadConfigFile(), FileOutcome::SnapshotFailed);
    EXPECT_EQ(prompts.Texts(Kind::Warning),
              std::vector<std::string>{std::string(kSnapshotFailed) + "\ndisk full"});
    EXPECT_EQ(Sent(), sent);
    EXPECT_EQ(Device().Working().ValueAt(2050, 0), 3);

    frame->Entry("Command20")->trigger();
    EXPECT_EQ(snapshots, (std::vector<int>{4, 4}));
    EXPECT_FALSE(frame->Editor()->Undo().CanUndo());
    // The device's mode 5 and its working settings hold the file; the store reads them back.
    const model::ParamTable* mode = Device().Mode(4);
    ASSERT_NE(mode, nullptr);
    for (const int entry : {int{model::entry::kMasterSlider0}, 2050}) {
        EXPECT_EQ(Device().Working().ValueAt(entry, 0), ws.ParamStore.ValueAt(entry, 0));
    }
    EXPECT_EQ(mode->Slot(3, 0)->Gain, 300);
    EXPECT_EQ(Device().Working().ValueAt(2050, 0), 140);
    // Every slot the file and the device share; slot 1 of the settings that belong to no
    // mode is not theirs (those live in slot 0).
    const std::vector<uint8_t> now = storage::EncodeTable(ws.ParamStore);
    for (int entry = 0; entry < model::kParamCount; ++entry)
        for (int slot = 0; slot < model::kSlotCount; ++slot) {
            if (slot == 1 && entry >= model::kModeScopedEnd) continue;
            const size_t at = storage::SlotOffset(entry, slot);
            EXPECT_TRUE(std::equal(now.begin() + at, now.begin() + at + storage::kSlotBytes,
                                   kept.begin() + at))
                << "entry " << entry << " slot " << slot;
        }
}

}  // namespace
}  // namespace vellora::admin::test
