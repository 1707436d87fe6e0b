// Encoding, checking and atomic writing of the state file.
#include "device/state_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <array>

namespace vellora::device {

namespace {

constexpr std::array<std::uint8_t, 8> kTag{'V', 'L', 'D', 'E', 'V', 'S', 'T', '1'};
constexpr std::size_t kCrcBytes = 4;
// No state file of the factory layout comes near this; a bigger file is not ours.
constexpr qint64 kLargestStateFile = 1 << 20;

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// The blocks of a state in file order, as (source, kind, scene) triples.
struct BlockRef {
    int Source;
    int Kind;
    int Scene;
};

std::vector<BlockRef> BlockOrder() {
    std::vector<BlockRef> order;
    for (int scene = 0; scene < 2; ++scene)
        for (int kind = 0; kind < kModeKindCount; ++kind)
            order.push_back({kWorkingSettings, kind, scene});
    for (int kind = kModeKindCount; kind < model::kMenuKindCount; ++kind)
        order.push_back({kWorkingSettings, kind, 0});
    for (int mode = 0; mode < kModeCount; ++mode)
        for (int scene = 0; scene < 2; ++scene)
            for (int kind = 0; kind < kModeKindCount; ++kind) order.push_back({mode, kind, scene});
    return order;
}

std::size_t HeaderBytes() {
    return kTag.size() + 1 + protocol::kAdministratorDigits + protocol::kPanelLockDigits +
           kModeNamesReplyBytes;
}

std::size_t StateBytes(const ProcessorState& state) {
    std::size_t size = HeaderBytes() + kCrcBytes;
    for (const BlockRef& ref : BlockOrder()) size += state.BlockBytes(ref.Kind);
    return size;
}

}  // namespace

std::vector<std::uint8_t> EncodeState(const ProcessorState& state) {
    std::vector<std::uint8_t> bytes(kTag.begin(), kTag.end());
    bytes.push_back(static_cast<std::uint8_t>(state.CurrentMode()));
    bytes.insert(bytes.end(), state.Administrator().begin(), state.Administrator().end());
    bytes.insert(bytes.end(), state.Panel().begin(), state.Panel().end());
    const auto names = state.NamesReply();
    bytes.insert(bytes.end(), names.begin(), names.end());
    for (const BlockRef& ref : BlockOrder()) {
        const std::size_t at = bytes.size();
        bytes.resize(at + state.BlockBytes(ref.Kind));
        (void)state.ReadBlock(ref.Source, ref.Kind, ref.Scene, std::span(bytes).subspan(at));
    }
    const std::uint32_t crc = Crc32(bytes);
    for (std::size_t i = 0; i < kCrcBytes; ++i)
        bytes.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    return bytes;
}

DeviceError DecodeState(std::span<const std::uint8_t> bytes, ProcessorState& state) {
    if (bytes.size() != StateBytes(state)) return DeviceError::StateCorrupt;
    if (!std::equal(kTag.begin(), kTag.end(), bytes.begin())) return DeviceError::StateCorrupt;
    const std::size_t body = bytes.size() - kCrcBytes;
    std::uint32_t stored = 0;
    for (std::size_t i = 0; i < kCrcBytes; ++i)
        stored |= static_cast<std::uint32_t>(bytes[body + i]) << (8 * i);
    if (stored != Crc32(bytes.first(body))) return DeviceError::StateCorrupt;

    ProcessorState read = state;
    std::size_t at = kTag.size();
    if (read.SetCurrentMode(bytes[at++]) != DeviceError::Ok) return DeviceError::StateCorrupt;
    if (read.SetAdministrator(bytes.subspan(at, protocol::kAdministratorDigits)) != DeviceError::Ok)
        return DeviceError::StateCorrupt;
    at += protocol::kAdministratorDigits;
    if (read.SetPanel(bytes.subspan(at, protocol::kPanelLockDigits)) != DeviceError::Ok)
        return DeviceError::StateCorrupt;
    at += protocol::kPanelLockDigits;
    for (int mode = 0; mode < kModeCount; ++mode) {
        ModeName name{};
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), kModeNameBytes, name.begin());
        if (read.SetName(mode, name) != DeviceError::Ok) return DeviceError::StateCorrupt;
        at += kModeNameBytes;
    }
    for (const BlockRef& ref : BlockOrder()) {
        const std::size_t size = read.BlockBytes(ref.Kind);
        if (!read.WriteBlock(ref.Source, ref.Kind, ref.Scene, bytes.subspan(at, size)))
            return DeviceError::StateCorrupt;
        at += size;
    }
    state = std::move(read);
    return DeviceError::Ok;
}

QString StateFilePath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kStateFileName));
}

QString DamagedCopyName(const QString& path) {
    const QString stamp =
        QFileInfo(path).lastModified().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString suffix = QString::fromLatin1(kDamagedStateSuffix);
    QString name = path + '.' + stamp + suffix;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = path + '.' + stamp + '-' + QString::number(n) + suffix;
    return name;
}

DeviceError CheckStateFolder(const QString& folder) {
    if (folder.isEmpty() || !QDir().mkpath(folder)) return DeviceError::StateFolderUnusable;
    QTemporaryFile trial(QDir(folder).filePath(QStringLiteral(".write-check-XXXXXX")));
    if (!trial.open() || trial.write("1", 1) != 1 || !trial.flush())
        return DeviceError::StateFolderUnusable;
    return DeviceError::Ok;
}

DeviceError SaveStateFile(const QString& folder, const ProcessorState& state) {
    if (folder.isEmpty() || !QDir().mkpath(folder)) return DeviceError::StateWriteFailed;
    const std::vector<std::uint8_t> bytes = EncodeState(state);
    QSaveFile file(StateFilePath(folder));
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return DeviceError::StateWriteFailed;
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        file.cancelWriting();
        return DeviceError::StateWriteFailed;
    }
    return file.commit() ? DeviceError::Ok : DeviceError::StateWriteFailed;
}

DeviceError LoadStateFile(const QString& folder, ProcessorState& state) {
    const QFileInfo info(StateFilePath(folder));
    if (folder.isEmpty() || !info.exists()) return DeviceError::StateNotFound;
    if (!info.isFile()) return DeviceError::StateReadFailed;
    if (info.size() > kLargestStateFile) return DeviceError::StateCorrupt;
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) return DeviceError::StateReadFailed;
    const QByteArray raw = file.readAll();
    if (file.error() != QFileDevice::NoError) return DeviceError::StateReadFailed;
    return DecodeState(std::span(reinterpret_cast<const std::uint8_t*>(raw.constData()),
                                 static_cast<std::size_t>(raw.size())),
                       state);
}

}  // namespace vellora::device
