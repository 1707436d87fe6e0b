// Fuzzes the settings-file reader record by record: the input edits a few slots of the factory
// image (whole 28-byte slots, single fields, or valid slots copied to another entry); each
// edited slot is decoded, checked against its entry's role, formatted and written back.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "model/workspace.h"
#include "storage/param_format.h"
#include "storage/param_layout.h"
#include "storage/settings_check.h"
#include "storage/settings_codec.h"

namespace {

using namespace vellora;
using storage::kSlotBytes;

// An edit: two bytes ParamIndex (modulo 3000), one byte picking the slot (modulo 3) and the
// operation (divided by 3, modulo 3), then the operation's bytes.
enum Operation : int {
    kWholeSlot = 0,  // up to 28 bytes over the slot
    kOneField = 1,   // a field number (modulo 10), then 4 bytes little-endian cut to its width
    kCopied = 2,     // two bytes ParamIndex and a slot byte: that factory slot copied here
};
constexpr std::size_t kMaxEdits = 16;

struct Field {
    std::size_t offset;
    std::size_t width;
};
constexpr std::array<Field, 10> kFields{{
    {storage::slot_offset::kFilterType, 1},
    {storage::slot_offset::kValue, 4},
    {storage::slot_offset::kQType, 1},
    {storage::slot_offset::kFreq, 4},
    {storage::slot_offset::kGain, 4},
    {storage::slot_offset::kQ, 4},
    {storage::slot_offset::kShelfQ, 4},
    {storage::slot_offset::kDefined, 2},
    {storage::slot_offset::kPerScene, 2},
    {storage::slot_offset::kEQdisabled, 2},
}};
constexpr std::array<std::size_t, 3> kBooleans{storage::slot_offset::kDefined,
                                               storage::slot_offset::kPerScene,
                                               storage::slot_offset::kEQdisabled};

struct Touched {
    int index;
    int slot;
};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

int IndexAt(const uint8_t* p) {
    return (p[0] | p[1] << 8) % model::kParamCount;
}

// Everything the program does with one slot read from a file.
void CheckSlot(int index, int slot, std::span<const uint8_t, kSlotBytes> bytes,
               std::span<const uint8_t, kSlotBytes> factoryBytes,
               const storage::ParamLayout& layout, std::vector<storage::Anomaly>& anomalies) {
    const model::SceneSlot decoded = storage::DecodeSlot(bytes);

    // Written back, every number keeps its bytes; a boolean becomes 00 00 or FF FF.
    std::array<uint8_t, kSlotBytes> again{};
    storage::EncodeSlot(decoded, again);
    Check(std::memcmp(again.data(), bytes.data(), storage::slot_offset::kDefined) == 0);
    for (const std::size_t at : kBooleans) {
        const uint8_t expected = (bytes[at] | bytes[at + 1]) != 0 ? 0xFF : 0x00;
        Check(again[at] == expected && again[at + 1] == expected);
    }
    Check(storage::DecodeSlot(again) == decoded);

    // The check reports only values outside their range, one field at most once, in field
    // order, and nothing for the factory bytes.
    const storage::EntryInfo& entry = layout.Entry(index);
    anomalies.clear();
    storage::ValidateSlot(index, slot, decoded, entry, anomalies);
    for (std::size_t i = 0; i < anomalies.size(); ++i) {
        const storage::Anomaly& a = anomalies[i];
        Check(a.index == index && a.slot == slot && a.min <= a.max);
        Check(a.value < a.min || a.value > a.max);
        Check(i == 0 || anomalies[i - 1].field < a.field);
        Check(!storage::AnomalyText(a).empty());
    }
    if (std::equal(bytes.begin(), bytes.end(), factoryBytes.begin())) Check(anomalies.empty());

    // Every text takes any value.
    Check(!storage::SlotText(entry, decoded).empty());
    Check(!storage::FrequencyText(decoded.Value).empty());
    Check(!storage::FrequencyText(decoded.Freq).empty());
    Check(!storage::GainDbText(decoded.Gain).empty());
    Check(!storage::QFactorText(decoded.Q).empty());
    Check(!storage::QFactorText(decoded.ShelfQ).empty());
    Check(!storage::CrossoverTypeText(decoded.Value, entry.fullCrossoverList).empty());
    Check(!storage::BandShapeText(decoded.QType).empty());
    (void)storage::EntryName(index);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const model::Workspace defaults;
    static const std::vector<uint8_t> factory = storage::EncodeTable(defaults.ParamStore);
    static const storage::ParamLayout& layout = storage::FactoryLayout();
    // Restored after every run at the slots the run edited.
    static std::vector<uint8_t> image = factory;
    // Only the target of refused whole files: must stay as decoded from the factory image.
    static model::ParamTable table = [] {
        model::ParamTable decoded;
        Check(storage::DecodeTable(factory, decoded) == storage::StorageError::Ok);
        Check(storage::Validate(decoded, layout).empty());
        return decoded;
    }();
    static std::vector<Touched> touched;
    static std::vector<storage::Anomaly> anomalies;

    // The raw input as a whole file: refused for its size, the table left as it was.
    if (size != storage::kSettingsFileSize) {
        Check(storage::DecodeTable({data, size}, table) == storage::StorageError::WrongSize);
        Check(*table.Slot(0, 0) == *defaults.ParamStore.Slot(0, 0));
    }

    touched.clear();
    std::size_t at = 0;
    while (at + 3 <= size && touched.size() < kMaxEdits) {
        const int index = IndexAt(data + at);
        const int slot = data[at + 2] % model::kSlotCount;
        const int operation = data[at + 2] / model::kSlotCount % 3;
        at += 3;
        uint8_t* bytes = image.data() + storage::SlotOffset(index, slot);
        if (operation == kWholeSlot) {
            const std::size_t n = std::min(kSlotBytes, size - at);
            std::memcpy(bytes, data + at, n);
            at += n;
        } else if (operation == kOneField && at + 5 <= size) {
            const Field& field = kFields[data[at] % kFields.size()];
            std::memcpy(bytes + field.offset, data + at + 1, field.width);
            at += 5;
        } else if (operation == kCopied && at + 3 <= size) {
            const std::size_t from = storage::SlotOffset(IndexAt(data + at), data[at + 2] % 3);
            std::memcpy(bytes, factory.data() + from, kSlotBytes);
            at += 3;
        }
        touched.push_back({index, slot});
    }

    for (const Touched& t : touched) {
        const std::size_t offset = storage::SlotOffset(t.index, t.slot);
        CheckSlot(t.index, t.slot,
                  std::span<const uint8_t, kSlotBytes>(image.data() + offset, kSlotBytes),
                  std::span<const uint8_t, kSlotBytes>(factory.data() + offset, kSlotBytes), layout,
                  anomalies);
    }
    for (const Touched& t : touched) {
        const std::size_t offset = storage::SlotOffset(t.index, t.slot);
        std::memcpy(image.data() + offset, factory.data() + offset, kSlotBytes);
    }
    return 0;
}
