// GBK mode names: factory names from fixed bytes, checks, and conversion from and to text.
#include "device/mode_names.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <string>

namespace vellora::device {

namespace {

// "模式" in GBK: 模 = C4 A3, 式 = CA BD.
constexpr std::array<std::uint8_t, 4> kModeWordGbk{0xC4, 0xA3, 0xCA, 0xBD};
constexpr std::uint8_t kFirstReservedByte = 253;
constexpr const char* kGbk = "GBK";

}  // namespace

ModeName FactoryModeName(int mode) {
    ModeName name{};
    std::copy(kModeWordGbk.begin(), kModeWordGbk.end(), name.begin());
    const std::string digits = std::to_string(std::clamp(mode, 0, kModeCount - 1) + 1);
    std::copy(digits.begin(), digits.end(), name.begin() + kModeWordGbk.size());
    return name;
}

DeviceError MakeModeName(std::span<const std::uint8_t> gbk, ModeName& name) {
    if (gbk.size() > kModeNameBytes) return DeviceError::BadName;
    if (std::any_of(gbk.begin(), gbk.end(),
                    [](std::uint8_t b) { return b == 0 || b >= kFirstReservedByte; }))
        return DeviceError::BadName;
    name.fill(0);
    std::copy(gbk.begin(), gbk.end(), name.begin());
    return DeviceError::Ok;
}

DeviceError ModeNameFromText(QStringView text, ModeName& name) {
    QStringEncoder encoder(kGbk, QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) return DeviceError::NoNameEncoding;
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) return DeviceError::BadName;
    return MakeModeName(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                  static_cast<std::size_t>(bytes.size())),
                        name);
}

std::span<const std::uint8_t> ModeNameBytes(const ModeName& name) {
    const auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
    return {name.data(), static_cast<std::size_t>(end - name.begin())};
}

QString ModeNameText(const ModeName& name) {
    const auto bytes = ModeNameBytes(name);
    const QByteArray raw(reinterpret_cast<const char*>(bytes.data()),
                         static_cast<qsizetype>(bytes.size()));
    QStringDecoder decoder(kGbk, QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) return QString::fromLatin1(raw);
    return decoder.decode(raw);
}

bool IsWellFormedModeName(const ModeName& name) {
    const auto used = ModeNameBytes(name);
    if (std::any_of(used.begin(), used.end(),
                    [](std::uint8_t b) { return b >= kFirstReservedByte; }))
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(used.size()), name.end(),
                       [](std::uint8_t b) { return b == 0; });
}

}  // namespace vellora::device
