// Settings files on disk: the ".VL" naming rule, saving without ever leaving a half-written
// file, loading only into the mode image, and refusing files of the wrong size.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "model/workspace.h"
#include "storage/settings_check.h"
#include "storage/settings_codec.h"
#include "storage/settings_file.h"

#if defined(__unix__) || defined(__APPLE__)
#include <signal.h>
#include <sys/resource.h>
#define VELLORA_HAVE_RLIMIT 1
#endif

namespace vellora::storage {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray AsBytes(const std::vector<uint8_t>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

class SettingsFileTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }
    QStringList Entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
    std::unique_ptr<model::Workspace> ws = std::make_unique<model::Workspace>();
};

TEST(SettingsName, AppendsVLUnlessTheNameEndsInVL) {
    const std::pair<const char*, const char*> cases[] = {
        {"abc", "abc.VL"},
        {"abc.vl", "abc.vl"},
        {"ABC.VL", "ABC.VL"},
        {"abc.Vl", "abc.Vl"},
        {"abc.vlx", "abc.vlx.VL"},
        {"vl", "vl.VL"},
        {"/tmp/x.vl/abc", "/tmp/x.vl/abc.VL"},
        {"/音响/配置", "/音响/配置.VL"},
    };
    for (const auto& [chosen, saved] : cases)
        EXPECT_EQ(WithSettingsExtension(QString::fromUtf8(chosen)), QString::fromUtf8(saved));
}

TEST_F(SettingsFileTest, SaveWritesTheImageUnderTheGivenNameAndLoadFillsOnlyTheModeImage) {
    ws->ParamStore.Slot(7, 0)->Gain = 123;
    ws->ParamStore.Slot(2590, 0)->Value = 1;
    ASSERT_EQ(SaveSettingsFile(Path("abc"), ws->ParamStore), StorageError::Ok);
    EXPECT_EQ(Entries(), QStringList{"abc"});
    EXPECT_EQ(ReadAll(Path("abc")), AsBytes(EncodeTable(ws->ParamStore)));
    const auto saved = std::make_unique<model::ParamTable>(ws->ParamStore);

    ws->ParamStore.Slot(7, 0)->Gain = 250;  // the live store moves on after the save
    ASSERT_EQ(LoadSettingsFile(Path("abc"), *ws), StorageError::Ok);
    EXPECT_TRUE(ws->ModeImage == *saved);  // all three slots, the factory slot too
    EXPECT_EQ(ws->ParamStore.Slot(7, 0)->Gain, 250);
}

TEST_F(SettingsFileTest, FilesOfAnyOtherSizeAreRefusedAndChangeNothing) {
    const QByteArray good = AsBytes(EncodeTable(ws->ParamStore));
    ws->ModeImage.Slot(100, 1)->Value = 77;  // a mark the refused loads must keep
    const auto before = std::make_unique<model::ParamTable>(ws->ModeImage);
    const std::pair<QString, QByteArray> files[] = {
        {"empty.VL", QByteArray()},
        {"short.VL", good.left(251999)},
        {"long.VL", good + QByteArray(1, '\0')},
        {"double.VL", good + good},
    };
    for (const auto& [name, data] : files) {
        ASSERT_TRUE(WriteAll(Path(name), data));
        EXPECT_EQ(LoadSettingsFile(Path(name), *ws), StorageError::WrongSize) << name.toStdString();
        std::vector<uint8_t> bytes(5, 1);
        EXPECT_EQ(ReadSettingsBytes(Path(name), bytes), StorageError::WrongSize);
        EXPECT_TRUE(bytes.empty()) << name.toStdString();
    }
    EXPECT_EQ(LoadSettingsFile(Path("missing.VL"), *ws), StorageError::NotFound);
    EXPECT_EQ(LoadSettingsFile(dir.path(), *ws), StorageError::NotAFile);
    EXPECT_TRUE(ws->ModeImage == *before);
}

TEST_F(SettingsFileTest, SaveWhereNoFileCanBeWrittenFailsAndLeavesNoFile) {
    // A folder that does not exist, a "folder" that is a file, a folder as the name.
    EXPECT_NE(SaveSettingsFile(Path("nowhere/abc.VL"), ws->ParamStore), StorageError::Ok);
    ASSERT_TRUE(WriteAll(Path("plain"), "x"));
    EXPECT_NE(SaveSettingsFile(Path("plain/abc.VL"), ws->ParamStore), StorageError::Ok);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.VL"));
    EXPECT_EQ(SaveSettingsFile(Path("folder.VL"), ws->ParamStore), StorageError::NotAFile);
    EXPECT_EQ(Entries(), (QStringList{"folder.VL", "plain"}));
    EXPECT_EQ(ReadAll(Path("plain")), "x");
    EXPECT_TRUE(QDir(Path("folder.VL")).isEmpty());
}

#ifdef VELLORA_HAVE_RLIMIT
// A write that fails half way (here: the file size limit of the process) must leave the file
// that stood under the name exactly as it was, and no temporary beside it.
TEST_F(SettingsFileTest, AFailedSaveDoesNotDestroyAGoodFile) {
    const QString path = Path("good.VL");
    ASSERT_EQ(SaveSettingsFile(path, ws->ParamStore), StorageError::Ok);
    const QByteArray good = ReadAll(path);
    ASSERT_EQ(good.size(), 252000);
    auto changed = std::make_unique<model::ParamTable>(ws->ParamStore);
    changed->Slot(7, 0)->Gain = 260;

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const StorageError result = SaveSettingsFile(path, *changed);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, StorageError::WriteFailed);
    EXPECT_EQ(ReadAll(path), good);
    EXPECT_EQ(Entries(), QStringList{"good.VL"});
}
#endif

// A file for the device must have this processor's FilterType in every slot: one byte off
// anywhere (a band made plain, a plain entry made a band, an empty entry given a type, the
// factory slot) refuses the whole file and leaves the image as it was.
TEST_F(SettingsFileTest, FileForTheDeviceNeedsTheProcessorsFilterTypes) {
    const std::vector<uint8_t> good = EncodeTable(ws->ParamStore);
    ASSERT_TRUE(FilterTypeAnomalies(ws->ParamStore).empty());
    const int plain = ws->MenuKindFirst(8);
    const int empty = ws->MenuKindLast(0) + 1;
    ASSERT_FALSE(ws->ParamStore.Slot(empty, 0)->Defined);
    const struct {
        int index, slot;
        uint8_t filterType;
    } cases[] = {{0, 0, 0}, {plain, 0, 1}, {empty, 1, 1}, {3, 2, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        std::vector<uint8_t> bytes = good;
        bytes[SlotOffset(c.index, c.slot) + slot_offset::kFilterType] = c.filterType;
        ASSERT_TRUE(WriteAll(Path("f.VL"), AsBytes(bytes)));
        auto image = std::make_unique<model::ParamTable>();
        image->SetValueAt(plain, 0, 77);
        EXPECT_EQ(ReadImageForDevice(Path("f.VL"), *image), StorageError::WrongLayout);
        EXPECT_EQ(image->ValueAt(plain, 0), 77) << "untouched";

        model::ParamTable read;
        ASSERT_EQ(DecodeTable(bytes, read), StorageError::Ok);
        const std::vector<Anomaly> found = FilterTypeAnomalies(read);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].index, c.index);
        EXPECT_EQ(found[0].slot, c.slot);
        EXPECT_EQ(found[0].value, c.filterType);
    }
    ASSERT_TRUE(WriteAll(Path("f.VL"), AsBytes(good)));
    auto image = std::make_unique<model::ParamTable>();
    EXPECT_EQ(ReadImageForDevice(Path("f.VL"), *image), StorageError::Ok);
    EXPECT_EQ(EncodeTable(*image), good);
    EXPECT_EQ(ReadImageForDevice(Path("short.VL"), *image), StorageError::NotFound);
}

}  // namespace
}  // namespace vellora::storage
