// GBK mode names: factory names from fixed bytes, checks, and conversion from and to text.
#include "device/mode_names.h"

#include <algorithm>
#include <string>
#include <vector>

#include "protocol/wire_format.h"

namespace vellora::device {

namespace {

// "模式" in GBK: 模 = C4 A3, 式 = CA BD.
constexpr std::array<std::uint8_t, 4> kModeWordGbk{0xC4, 0xA3, 0xCA, 0xBD};

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
                    [](std::uint8_t b) { return b == 0 || b > protocol::kMaxDataByte; }))
        return DeviceError::BadName;
    name.fill(0);
    std::copy(gbk.begin(), gbk.end(), name.begin());
    return DeviceError::Ok;
}

DeviceError ModeNameFromText(QStringView text, ModeName& name) {
    std::vector<std::uint8_t> bytes;
    switch (protocol::EncodeGbk(text.toUtf8().toStdString(), bytes)) {
        case protocol::GbkEncodeError::Ok:
            return MakeModeName(bytes, name);
        case protocol::GbkEncodeError::NoConverter:
            return DeviceError::NoNameEncoding;
        case protocol::GbkEncodeError::NotGbk:
            break;
    }
    return DeviceError::BadName;
}

std::span<const std::uint8_t> ModeNameBytes(const ModeName& name) {
    const auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
    return {name.data(), static_cast<std::size_t>(end - name.begin())};
}

QString ModeNameText(const ModeName& name) {
    return QString::fromStdString(protocol::DecodeGbk(ModeNameBytes(name)));
}

bool IsWellFormedModeName(const ModeName& name) {
    const auto used = ModeNameBytes(name);
    if (std::any_of(used.begin(), used.end(),
                    [](std::uint8_t b) { return b > protocol::kMaxDataByte; }))
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(used.size()), name.end(),
                       [](std::uint8_t b) { return b == 0; });
}

}  // namespace vellora::device
