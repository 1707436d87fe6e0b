// Fuzzes the settings-file reader: arbitrary bytes, mostly grown into 252000-byte images, are
// decoded into a workspace's mode image, then checked and formatted entry by entry.
#include <algorithm>
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

// First input byte picks how the rest becomes an image.
enum Mode : uint8_t {
    kAsIs = 0,      // the bytes themselves: almost always the wrong size, must be refused
    kRepeated = 1,  // the bytes repeated until the image is full
    kPatched = 2,   // the factory image with patches: 3-byte offset, 1-byte length, bytes
    kOverlaid = 3,  // the factory image with the bytes copied in at a 3-byte offset
};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static model::Workspace workspace;
    static const std::vector<uint8_t> factory = storage::EncodeTable(workspace.ParamStore);
    if (size == 0) return 0;
    const std::span<const uint8_t> rest(data + 1, size - 1);

    static std::vector<uint8_t> image;  // reused: fresh 252000-byte buffers dominate the run time
    image.clear();
    switch (data[0] % 4) {
        case kAsIs:
            image.assign(rest.begin(), rest.end());
            break;
        case kRepeated:
            image.resize(storage::kSettingsFileSize);
            for (std::size_t i = 0; i < image.size(); ++i)
                image[i] = rest.empty() ? 0 : rest[i % rest.size()];
            break;
        case kPatched: {
            image.assign(factory.begin(), factory.end());
            std::size_t at = 0;
            while (at + 4 <= rest.size()) {
                const std::size_t offset = (rest[at] | rest[at + 1] << 8 | rest[at + 2] << 16) %
                                           storage::kSettingsFileSize;
                std::size_t length = rest[at + 3];
                at += 4;
                length = std::min({length, rest.size() - at, image.size() - offset});
                std::memcpy(image.data() + offset, rest.data() + at, length);
                at += length;
            }
            break;
        }
        case kOverlaid: {
            image.assign(factory.begin(), factory.end());
            if (rest.size() < 3) break;
            const std::size_t offset =
                (rest[0] | rest[1] << 8 | rest[2] << 16) % storage::kSettingsFileSize;
            const std::size_t length = std::min(rest.size() - 3, image.size() - offset);
            std::memcpy(image.data() + offset, rest.data() + 3, length);
            break;
        }
    }

    model::ParamTable& target = workspace.ModeImage;
    const model::SceneSlot marker = *target.Slot(0, 0);
    const storage::StorageError result = storage::DecodeTable(image, target);
    if (image.size() != storage::kSettingsFileSize) {
        Check(result == storage::StorageError::WrongSize);
        Check(*target.Slot(0, 0) == marker);
        return 0;
    }
    Check(result == storage::StorageError::Ok);

    const storage::ParamLayout& layout = storage::FactoryLayout();
    const std::vector<storage::Anomaly> anomalies = storage::Validate(target, layout);
    for (std::size_t i = 0; i < anomalies.size(); ++i) {
        const storage::Anomaly& a = anomalies[i];
        Check(a.value < a.min || a.value > a.max);
        if (i < 64) Check(!storage::AnomalyText(a).empty());
    }
    // Formatting is the slow part: only the slots the input changed (the factory ones are
    // covered by the unit tests).
    for (int index = 0; index < model::kParamCount; ++index) {
        for (int s = 0; s < model::kSlotCount; ++s) {
            const std::size_t offset = storage::SlotOffset(index, s);
            if (std::memcmp(image.data() + offset, factory.data() + offset, storage::kSlotBytes) ==
                0)
                continue;
            const model::SceneSlot& slot = *target.Slot(index, s);
            (void)storage::EntryName(index);
            Check(!storage::SlotText(layout.Entry(index), slot).empty());
            (void)storage::FrequencyHz(slot.Freq);
            (void)storage::QFactor(slot.ShelfQ);
        }
    }
    // Every value survives a save: only non-canonical booleans may change their bytes.
    const std::vector<uint8_t> again = storage::EncodeTable(target);
    for (std::size_t offset = 0; offset < again.size(); offset += storage::kSlotBytes)
        Check(std::memcmp(again.data() + offset, image.data() + offset,
                          storage::slot_offset::kDefined) == 0);
    return 0;
}
