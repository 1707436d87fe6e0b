// The processor's memory and its block and entry transfers. Blocks are read and written with
// the terminal's own entry codec: the device lays out its entries as the factory defaults do,
// so the same entries travel as EQ bands on both ends.
#include "device/processor_state.h"

#include <algorithm>

#include "protocol/entry_codec.h"
#include "protocol/wire_format.h"

namespace vellora::device {

namespace {

constexpr std::size_t kLargestBlock = protocol::kMaxReplyLength;

bool AllDigits(std::span<const std::uint8_t> digits) {
    return std::all_of(digits.begin(), digits.end(), [](std::uint8_t d) { return d <= 9; });
}

}  // namespace

ProcessorState::ProcessorState() : ProcessorState(model::Workspace{}) {}

ProcessorState::ProcessorState(const model::Workspace& layout)
    : layout_(layout), modes_(static_cast<std::size_t>(kModeCount)) {
    ResetToFactory();
}

void ProcessorState::ResetToFactory() {
    working_ = layout_.ParamStore;
    for (auto& mode : modes_) mode = layout_.ParamStore;
    current_mode_ = 0;
    for (int m = 0; m < kModeCount; ++m) names_[static_cast<std::size_t>(m)] = FactoryModeName(m);
    admin_.fill(0);
    panel_.fill(0);
}

model::ParamTable* ProcessorState::Mode(int mode) {
    return mode >= 0 && mode < kModeCount ? &modes_[static_cast<std::size_t>(mode)] : nullptr;
}

const model::ParamTable* ProcessorState::Mode(int mode) const {
    return mode >= 0 && mode < kModeCount ? &modes_[static_cast<std::size_t>(mode)] : nullptr;
}

model::ParamTable* ProcessorState::Table(int which) {
    return which == kWorkingSettings ? &working_ : Mode(which);
}

const model::ParamTable* ProcessorState::Table(int which) const {
    return which == kWorkingSettings ? &working_ : Mode(which);
}

DeviceError ProcessorState::SetCurrentMode(int mode) {
    if (mode < 0 || mode >= kModeCount) return DeviceError::BadMode;
    current_mode_ = mode;
    return DeviceError::Ok;
}

DeviceError ProcessorState::SetName(int mode, const ModeName& name) {
    if (mode < 0 || mode >= kModeCount) return DeviceError::BadMode;
    if (!IsWellFormedModeName(name)) return DeviceError::BadName;
    names_[static_cast<std::size_t>(mode)] = name;
    return DeviceError::Ok;
}

std::array<std::uint8_t, kModeNamesReplyBytes> ProcessorState::NamesReply() const {
    std::array<std::uint8_t, kModeNamesReplyBytes> bytes{};
    for (std::size_t m = 0; m < names_.size(); ++m)
        std::copy(names_[m].begin(), names_[m].end(), bytes.begin() + m * kModeNameBytes);
    return bytes;
}

DeviceError ProcessorState::SetAdministrator(std::span<const std::uint8_t> digits) {
    if (digits.size() != protocol::kAdministratorDigits || !AllDigits(digits))
        return DeviceError::BadPassword;
    std::copy(digits.begin(), digits.end(), admin_.begin());
    return DeviceError::Ok;
}

DeviceError ProcessorState::SetPanel(std::span<const std::uint8_t> digits) {
    if (digits.size() != protocol::kPanelLockDigits || !AllDigits(digits))
        return DeviceError::BadPassword;
    std::copy(digits.begin(), digits.end(), panel_.begin());
    return DeviceError::Ok;
}

DeviceError ProcessorState::SaveWorkingToMode(int mode) {
    model::ParamTable* target = Mode(mode);
    if (target == nullptr) return DeviceError::BadMode;
    const int end = layout_.MenuKindFirst(kModeKindCount);
    for (int i = 0; i < end; ++i)
        for (int s = 0; s < 2; ++s) *target->Slot(i, s) = *working_.Slot(i, s);
    current_mode_ = mode;
    return DeviceError::Ok;
}

DeviceError ProcessorState::RecallMode(int mode) {
    const model::ParamTable* source = Mode(mode);
    if (source == nullptr) return DeviceError::BadMode;
    const int end = layout_.MenuKindFirst(kModeKindCount);
    for (int i = 0; i < end; ++i)
        for (int s = 0; s < 2; ++s) *working_.Slot(i, s) = *source->Slot(i, s);
    current_mode_ = mode;
    return DeviceError::Ok;
}

bool ProcessorState::ValidKind(int kind) const {
    return kind >= 0 && kind < model::kMenuKindCount && layout_.MenuKindSize(kind) > 0;
}

std::size_t ProcessorState::BlockBytes(int kind) const {
    if (!ValidKind(kind)) return 0;
    // Every table of the device has the factory layout, so the working table speaks for all.
    const protocol::ByteResult size = protocol::BlockSize(working_, layout_, kind);
    return size.Ok() ? size.Bytes : 0;
}

std::size_t ProcessorState::ReadBlock(int source, int kind, int scene,
                                      std::span<std::uint8_t> out) const {
    if (!ValidKind(kind) || (scene != 0 && scene != 1)) return 0;
    const bool common = kind >= kModeKindCount;
    const model::ParamTable* table = common ? &working_ : Table(source);
    if (table == nullptr) return 0;
    const protocol::ByteResult written =
        protocol::EncodeBlock(*table, layout_, kind, common ? 0 : scene, out);
    return written.Ok() ? written.Bytes : 0;
}

bool ProcessorState::WriteBlock(int target, int kind, int scene,
                                std::span<const std::uint8_t> block) {
    if (!ValidKind(kind) || (scene != 0 && scene != 1)) return false;
    const bool common = kind >= kModeKindCount;
    model::ParamTable* table = common ? &working_ : Table(target);
    if (table == nullptr) return false;
    if (!protocol::DecodeBlock(block, *table, layout_, kind, common ? 0 : scene).Ok()) return false;
    if (!common) {
        for (int i = layout_.MenuKindFirst(kind); i <= layout_.MenuKindLast(kind); ++i)
            if (!table->IsPerScene(i)) *table->Slot(i, 1) = *table->Slot(i, 0);
    }
    return true;
}

bool ProcessorState::WriteEntry(int scene, int index, std::span<const std::uint8_t> entry) {
    const int kind = model::MenuKindOf(index);
    if (!ValidKind(kind) || index > layout_.MenuKindLast(kind)) return false;
    const bool common = kind >= kModeKindCount;
    if (!common && scene != 0 && scene != 1) return false;
    const int slot = common ? 0 : scene;
    if (entry.size() != protocol::EntryWireSize(working_, index)) return false;

    // The entry is spliced into its block as the device holds it and the block stored again,
    // so that an entry is read exactly as a block read would read it.
    std::array<std::uint8_t, kLargestBlock> block{};
    const protocol::ByteResult size = protocol::EncodeBlock(working_, layout_, kind, slot, block);
    if (!size.Ok()) return false;
    std::size_t offset = 0;
    for (int i = layout_.MenuKindFirst(kind); i < index; ++i)
        offset += protocol::EntryWireSize(working_, i);
    std::copy(entry.begin(), entry.end(), block.begin() + static_cast<std::ptrdiff_t>(offset));
    if (!protocol::DecodeBlock(std::span(block.data(), size.Bytes), working_, layout_, kind, slot)
             .Ok())
        return false;
    if (!common && !working_.IsPerScene(index))
        *working_.Slot(index, 1 - slot) = *working_.Slot(index, slot);
    return true;
}

}  // namespace vellora::device
