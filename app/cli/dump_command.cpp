// vellora-cli dump: lists the parameters of a settings file in the user's units.
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <array>
#include <memory>

#include "cli/arg_parser.h"
#include "cli/command_registry.h"
#include "cli/settings_view.h"
#include "cli/text_table.h"
#include "model/name_tables.h"
#include "model/workspace.h"
#include "storage/param_format.h"
#include "storage/settings_check.h"
#include "storage/settings_codec.h"

namespace vellora::cli {

namespace {

constexpr std::string_view kHelp =
    "Usage: vellora-cli dump FILE [--scene 0|1|2] [--json]\n"
    "\n"
    "Lists every parameter of a settings file: its index, menu kind and address, the menu\n"
    "item name where the name tables have one, what it is, and its value in the user's\n"
    "units (Hz, dB, Q, crossover type names, band shape and on/off, plain steps).\n"
    "Without --scene the singing (slot 0) and dance (slot 1) scenes are shown side by side.\n"
    "Column S marks entries kept per scene (*). Out-of-range values are listed at the end.\n"
    "\n"
    "Listed entries: every entry the factory layout defines, plus any other entry the file\n"
    "marks Defined in some slot. Roles (band, filter, type, ...) always come from the factory\n"
    "layout, never from the file.\n"
    "\n"
    "Options:\n"
    "  --scene N   show only slot N: 0 singing, 1 dance, 2 factory\n"
    "  --json      one JSON object, schema \"vellora.dump/1\" (see the README)\n";

constexpr std::size_t kAnomalyLines = 40;

int RunDump(Invocation& inv) {
    static constexpr std::array<OptionDef, 2> kOptions{{{"--scene", true}, {"--json", false}}};
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(inv.args, kOptions, parsed, error)) return inv.Fail(error);
    if (parsed.positionals.size() != 1)
        return inv.Fail(parsed.positionals.empty() ? "missing FILE"
                                                   : "expected one FILE, got " +
                                                         std::to_string(parsed.positionals.size()));
    std::vector<int> shown = {0, 1};
    if (auto scene = parsed.Value("--scene")) {
        int value = 0;
        if (!ParseIntInRange(*scene, 0, 2, value))
            return inv.Fail("--scene must be 0, 1 or 2, not '" + *scene + "'");
        shown = {value};
    }
    const std::string& path = parsed.positionals[0];

    const auto workspace = std::make_unique<model::Workspace>();
    if (!LoadSettingsArgument(inv, path, *workspace)) return kExitError;
    const model::ParamTable& table = workspace->ModeImage;
    const storage::ParamLayout& layout = storage::FactoryLayout();
    const std::vector<int> listed = ListedEntries(table, layout);
    const std::vector<storage::Anomaly> anomalies = storage::Validate(table, layout);

    if (parsed.Has("--json")) {
        QJsonObject root;
        root["schema"] = "vellora.dump/1";
        root["file"] = QString::fromStdString(path);
        root["bytes"] = static_cast<qint64>(storage::kSettingsFileSize);
        QJsonArray slotArray;
        for (int s : shown) slotArray.append(s);
        root["slots"] = slotArray;
        QJsonArray entries;
        for (int index : listed) {
            const storage::EntryInfo& entry = layout.Entry(index);
            QJsonObject object = EntryJson(index, entry);
            object["perScene"] = table.IsPerScene(index);
            object["layoutDefined"] = layout.Defines(index);
            QJsonArray values;
            for (int s : shown) values.append(SlotJson(entry, *table.Slot(index, s), s));
            object["values"] = values;
            entries.append(object);
        }
        root["entries"] = entries;
        root["anomalies"] = AnomaliesJson(anomalies);
        WriteJson(inv.out, root);
        return kExitOk;
    }

    inv.out << path << ": settings file, " << storage::kSettingsFileSize << " bytes, "
            << listed.size() << " entries\n"
            << "S: * = kept per scene; SQ = shelf Q of a band\n";
    std::size_t next = 0;
    // Indices 2816..2999 belong to no menu kind; a file may still mark them defined.
    const int lastKind = (model::kParamCount - 1) / 256;
    for (int kind = 0; kind <= lastKind; ++kind) {
        TextTable text;
        text.AddColumn("Index", TextTable::Align::Right);
        text.AddColumn("Addr", TextTable::Align::Right);
        text.AddColumn("Name");
        text.AddColumn("Role");
        text.AddColumn("S");
        for (int s : shown) text.AddColumn(SlotLabel(s));
        for (; next < listed.size() && listed[next] / 256 == kind; ++next) {
            const int index = listed[next];
            const storage::EntryInfo& entry = layout.Entry(index);
            std::vector<std::string> row = {std::to_string(index), std::to_string(index % 256),
                                            std::string(storage::EntryName(index)),
                                            std::string(storage::RoleText(entry)),
                                            table.IsPerScene(index) ? "*" : ""};
            for (int s : shown) row.push_back(storage::SlotText(entry, *table.Slot(index, s)));
            text.AddRow(std::move(row));
        }
        if (text.Empty()) continue;
        const std::string_view kindName = model::MenuKindName(kind);
        if (!kindName.empty())
            inv.out << '\n' << kindName << " (menu kind " << kind << ")\n";
        else if (kind < model::kMenuKindCount)  // the tables name no menu kind 10
            inv.out << "\ncommon settings (menu kind " << kind << ")\n";
        else
            inv.out << "\nindices " << kind * 256 << ".." << model::kParamCount - 1
                    << " (no menu kind)\n";
        text.Print(inv.out);
    }
    PrintAnomalies(inv.out, anomalies, kAnomalyLines);
    return kExitOk;
}

}  // namespace

void RegisterDumpCommand(CommandRegistry& registry) {
    registry.Add({"dump", "list the parameters of a settings file in Hz, dB and names", kHelp,
                  RunDump, ApplicationKind::None});
}

}  // namespace vellora::cli
