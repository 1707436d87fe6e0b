// vellora-cli diff: the parameters whose slots differ between two settings files.
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "cli/arg_parser.h"
#include "cli/command_registry.h"
#include "cli/settings_view.h"
#include "cli/text_table.h"
#include "model/workspace.h"
#include "storage/param_format.h"
#include "storage/settings_codec.h"

namespace vellora::cli {

namespace {

constexpr std::string_view kHelp =
    "Usage: vellora-cli diff A B [--json]\n"
    "\n"
    "Compares two settings files slot by slot (slot 0 singing, 1 dance, 2 factory) and lists\n"
    "every parameter whose slot differs in any byte, with both values in the user's units\n"
    "and the names of the fields that differ.\n"
    "\n"
    "Exit status: 0 the files are equal, 1 they differ, 2 error.\n"
    "\n"
    "Options:\n"
    "  --json   one JSON object, schema \"vellora.diff/1\" (see the README)\n";

struct FieldSpan {
    std::string_view name;
    std::size_t offset;
    std::size_t size;
};

constexpr std::array<FieldSpan, 10> kFields{{
    {"FilterType", storage::slot_offset::kFilterType, 1},
    {"Value", storage::slot_offset::kValue, 4},
    {"QType", storage::slot_offset::kQType, 1},
    {"Freq", storage::slot_offset::kFreq, 4},
    {"Gain", storage::slot_offset::kGain, 4},
    {"Q", storage::slot_offset::kQ, 4},
    {"ShelfQ", storage::slot_offset::kShelfQ, 4},
    {"Defined", storage::slot_offset::kDefined, 2},
    {"PerScene", storage::slot_offset::kPerScene, 2},
    {"EQdisabled", storage::slot_offset::kEQdisabled, 2},
}};

struct Difference {
    int slot;
    int index;
    std::vector<std::string_view> fields;
};

std::vector<Difference> Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    std::vector<Difference> found;
    for (int s = 0; s < model::kSlotCount; ++s) {
        for (int index = 0; index < model::kParamCount; ++index) {
            const std::size_t base = storage::SlotOffset(index, s);
            Difference d{s, index, {}};
            for (const FieldSpan& f : kFields)
                if (std::memcmp(a.data() + base + f.offset, b.data() + base + f.offset, f.size) !=
                    0)
                    d.fields.push_back(f.name);
            if (!d.fields.empty()) found.push_back(std::move(d));
        }
    }
    return found;
}

std::string JoinFields(const std::vector<std::string_view>& fields) {
    std::string text;
    for (std::string_view f : fields) {
        if (!text.empty()) text += ", ";
        text += f;
    }
    return text;
}

int RunDiff(Invocation& inv) {
    static constexpr std::array<OptionDef, 1> kOptions{{{"--json", false}}};
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(inv.args, kOptions, parsed, error)) return inv.Fail(error);
    if (parsed.positionals.size() != 2)
        return inv.Fail("expected two files A and B, got " +
                        std::to_string(parsed.positionals.size()));
    const std::string& pathA = parsed.positionals[0];
    const std::string& pathB = parsed.positionals[1];

    const auto a = std::make_unique<model::Workspace>();
    const auto b = std::make_unique<model::Workspace>();
    std::vector<uint8_t> bytesA;
    std::vector<uint8_t> bytesB;
    if (!LoadSettingsArgument(inv, pathA, *a, &bytesA)) return kExitError;
    if (!LoadSettingsArgument(inv, pathB, *b, &bytesB)) return kExitError;

    const storage::ParamLayout& layout = storage::FactoryLayout();
    const std::vector<Difference> differences = Compare(bytesA, bytesB);

    if (parsed.Has("--json")) {
        QJsonObject root;
        root["schema"] = "vellora.diff/1";
        root["a"] = QString::fromStdString(pathA);
        root["b"] = QString::fromStdString(pathB);
        root["equal"] = differences.empty();
        QJsonArray list;
        for (const Difference& d : differences) {
            const storage::EntryInfo& entry = layout.Entry(d.index);
            QJsonObject object = EntryJson(d.index, entry);
            object["slot"] = d.slot;
            QJsonArray fields;
            for (std::string_view f : d.fields)
                fields.append(QString::fromUtf8(f.data(), static_cast<qsizetype>(f.size())));
            object["fields"] = fields;
            object["a"] = SlotJson(entry, *a->ModeImage.Slot(d.index, d.slot), d.slot);
            object["b"] = SlotJson(entry, *b->ModeImage.Slot(d.index, d.slot), d.slot);
            list.append(object);
        }
        root["differences"] = list;
        WriteJson(inv.out, root);
        return differences.empty() ? kExitOk : kExitDifferent;
    }

    inv.out << "A: " << pathA << "\nB: " << pathB << '\n';
    if (differences.empty()) {
        inv.out << "\nThe files are equal.\n";
        return kExitOk;
    }
    for (int s = 0; s < model::kSlotCount; ++s) {
        TextTable text;
        text.AddColumn("Index", TextTable::Align::Right);
        text.AddColumn("Kind", TextTable::Align::Right);
        text.AddColumn("Addr", TextTable::Align::Right);
        text.AddColumn("Name");
        text.AddColumn("Role");
        text.AddColumn("Fields");
        text.AddColumn("A");
        text.AddColumn("B");
        for (const Difference& d : differences) {
            if (d.slot != s) continue;
            const storage::EntryInfo& entry = layout.Entry(d.index);
            text.AddRow({std::to_string(d.index), std::to_string(d.index / 256),
                         std::to_string(d.index % 256), std::string(storage::EntryName(d.index)),
                         std::string(storage::RoleText(entry)), JoinFields(d.fields),
                         storage::SlotText(entry, *a->ModeImage.Slot(d.index, s)),
                         storage::SlotText(entry, *b->ModeImage.Slot(d.index, s))});
        }
        const auto count = std::count_if(differences.begin(), differences.end(),
                                         [s](const Difference& d) { return d.slot == s; });
        inv.out << '\n' << SlotLabel(s) << ": ";
        if (count == 0) {
            inv.out << "no differences\n";
            continue;
        }
        inv.out << count << (count == 1 ? " difference\n" : " differences\n");
        text.Print(inv.out);
    }
    inv.out << '\n'
            << differences.size()
            << (differences.size() == 1 ? " slot differs.\n" : " slots differ.\n");
    return kExitDifferent;
}

}  // namespace

void RegisterDiffCommand(CommandRegistry& registry) {
    registry.Add({"diff", "compare two settings files slot by slot (exit 1 when they differ)",
                  kHelp, RunDiff, ApplicationKind::None});
}

}  // namespace vellora::cli
