// vellora-cli get and set: one parameter of the device, read from the synchronised store or
// written with one write-parameter command, addressed as a ParamIndex or as KIND,ADDR.
#include <QJsonObject>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/arg_parser.h"
#include "cli/command_registry.h"
#include "cli/device_session.h"
#include "cli/settings_view.h"
#include "link/endpoint.h"
#include "model/comma_fields.h"
#include "model/value_scales.h"
#include "model/workspace.h"
#include "protocol/password_check.h"
#include "storage/param_format.h"
#include "storage/param_layout.h"
#include "storage/settings_check.h"

namespace vellora::cli {

namespace {

using protocol::CommandStatus;
using storage::EntryRole;

// "2560" or "10,0" (menu kind, menu address); -1 for anything else.
int ParseParam(const std::string& text) {
    const std::size_t comma = text.find(',');
    int index = -1;
    if (comma == std::string::npos) {
        if (!ParseIntInRange(text, 0, model::kParamCount - 1, index)) return -1;
        return index;
    }
    int kind = 0;
    int address = 0;
    if (!ParseIntInRange(text.substr(0, comma), 0, model::kMenuKindCount - 1, kind) ||
        !ParseIntInRange(text.substr(comma + 1), 0, 255, address))
        return -1;
    index = kind * 256 + address;
    return model::ValidIndex(index) ? index : -1;
}

// The parameter argument: a defined entry, else an error line.
bool ReadParam(const Invocation& inv, const std::string& text, int& index, int& status) {
    index = ParseParam(text);
    if (index < 0) {
        status = inv.Fail(
            "PARAM must be a ParamIndex 0..2999 or KIND,ADDR (kind 0..10, address "
            "0..255), not '" +
            text + "'");
        return false;
    }
    if (!storage::FactoryLayout().Defines(index)) {
        status = inv.Fail(model::ParamAddressText(index) + " is not a parameter of the device");
        return false;
    }
    return true;
}

bool ReadScene(const Invocation& inv, const ParsedArgs& parsed, std::optional<int>& scene,
               int& status) {
    const auto text = parsed.Value("--scene");
    if (!text) return true;
    int value = 0;
    if (!ParseIntInRange(*text, 0, 1, value)) {
        status = inv.Fail("--scene must be 0 (singing) or 1 (dance), not '" + *text + "'");
        return false;
    }
    scene = value;
    return true;
}

struct FieldRange {
    model::Field field;
    int32_t min;
    int32_t max;
    int32_t rawMax;  ///< the top with --raw: what a settings file may hold
};

// The fields a VALUE may set for an entry, by its role, with their ranges: the editor's, and
// with --raw the wider ones a settings file may hold (the factory gains go up to +15.0 dB).
std::map<std::string, FieldRange, std::less<>> SettableFields(const storage::EntryInfo& entry) {
    switch (entry.role) {
        case EntryRole::EqBand:
            return {{"type", {model::Field::QType, 0, 2, 2}},
                    {"freq", {model::Field::Freq, 0, model::kFreqMax, model::kFreqMax}},
                    {"gain",
                     {model::Field::Gain, model::kGainMin, model::kGainMax, storage::kGainCheckMax}},
                    {"q", {model::Field::Q, 0, model::kQMax, model::kQMax}},
                    {"shelfq", {model::Field::ShelfQ, 0, model::kShelfQMax, model::kQMax}},
                    {"off", {model::Field::EQdisabled, 0, 1, 1}}};
        case EntryRole::Frequency:
        case EntryRole::FilterFrequency:
            return {{"value", {model::Field::Value, 0, model::kFreqMax, model::kFreqMax}}};
        case EntryRole::FilterType: {
            const int32_t last = storage::CrossoverTypeCount(entry.fullCrossoverList) - 1;
            return {{"value", {model::Field::Value, 0, last, last}}};
        }
        case EntryRole::Plain:
            return {{"value",
                     {model::Field::Value, 0, storage::kPairValueMax, storage::kPairValueMax}}};
        case EntryRole::Undefined:
            break;
    }
    return {};
}

// VALUE: a number (the Value of an entry that has one), or key=value pairs separated by commas;
// each in the editor's range, or with `raw` in the range a settings file may hold.
bool ReadValue(const Invocation& inv, const std::string& text, const storage::EntryInfo& entry,
               bool raw, std::vector<std::pair<model::Field, int32_t>>& writes, int& status) {
    const auto fields = SettableFields(entry);
    std::string keys;
    for (const auto& [key, range] : fields) keys += (keys.empty() ? "" : ", ") + key;
    for (const std::string_view field : model::SplitCommas(text)) {
        const std::string part(field);
        const std::size_t equals = part.find('=');
        std::string key = equals == std::string::npos ? "value" : part.substr(0, equals);
        const std::string number = equals == std::string::npos ? part : part.substr(equals + 1);
        const auto found = fields.find(key);
        if (found == fields.end()) {
            status = inv.Fail(
                equals == std::string::npos
                    ? "this entry is an EQ band: give its fields as KEY=N,... (" + keys + ")"
                    : "unknown field '" + key + "' for this entry (fields: " + keys + ")");
            return false;
        }
        int value = 0;
        const FieldRange& range = found->second;
        const int32_t max = raw ? range.rawMax : range.max;
        if (!ParseIntInRange(number, range.min, max, value)) {
            std::string line = key + " must be a whole number " + std::to_string(range.min) +
                               ".." + std::to_string(max) + ", not '" + number + "'";
            if (!raw && range.rawMax != range.max)
                line += " (--raw allows up to " + std::to_string(range.rawMax) + ")";
            status = inv.Fail(line);
            return false;
        }
        writes.emplace_back(range.field, value);
    }
    return true;
}

void PrintEntry(const Invocation& inv, const model::Workspace& ws, int index, int slot) {
    const storage::EntryInfo& entry = storage::FactoryLayout().Entry(index);
    const model::SceneSlot& s = *ws.ParamStore.Slot(index, slot);
    const std::string_view name = storage::EntryName(index);
    inv.out << model::ParamAddressText(index);
    if (!name.empty()) inv.out << ' ' << name;
    inv.out << '\n';
    if (index >= model::kModeScopedEnd) {
        inv.out << "common: ";
    } else {
        inv.out << "scene " << slot << ": ";
    }
    inv.out << storage::SlotText(entry, s) << '\n' << "fields:";
    if (entry.role == EntryRole::EqBand) {
        inv.out << " type=" << int{s.QType} << " freq=" << s.Freq << " gain=" << s.Gain
                << " q=" << s.Q << " shelfq=" << s.ShelfQ << " off=" << (s.EQdisabled ? 1 : 0);
    } else {
        inv.out << " value=" << s.Value;
    }
    inv.out << '\n';
}

// The parameter as one "vellora.get/1" object: the entry, the scene shown (null for an entry
// with one value for both scenes) and the value in units and raw fields.
void PrintEntryJson(const Invocation& inv, const DeviceOptions& options, int mode,
                    const model::Workspace& ws, int index, int slot) {
    const storage::EntryInfo& entry = storage::FactoryLayout().Entry(index);
    QJsonObject root = EntryJson(index, entry);
    root["schema"] = "vellora.get/1";
    root["endpoint"] = QString::fromStdString(link::EndpointText(options.Endpoint));
    root["mode"] = mode + 1;
    root["perScene"] = ws.IsPerScene(index);
    root["scene"] = index >= model::kModeScopedEnd ? QJsonValue(QJsonValue::Null) : slot;
    root["value"] = SlotJson(entry, *ws.ParamStore.Slot(index, slot), slot);
    WriteJson(inv.out, root);
}

// ---- get ----

constexpr std::string_view kGetUsage =
    "Usage: vellora-cli get PARAM [--scene S] [--json] [--device ENDPOINT]\n"
    "                       [--password DIGITS]";
constexpr std::string_view kGetText =
    "Links up, reads all of the device's working settings (with the access check) and prints\n"
    "one parameter: its name, its value in the user's units and its raw fields. PARAM is a\n"
    "ParamIndex (0..2999) or KIND,ADDR (menu kind and menu address, e.g. 10,0).\n";
constexpr std::string_view kSceneOption =
    "  --scene S           0 singing, 1 dance scene (default: the device's current scene);\n"
    "                      entries of menu kinds 8..10 have one value for both scenes\n";
constexpr std::string_view kGetJsonOption =
    "  --json              one JSON object, schema \"vellora.get/1\" (see the README)\n";

constexpr std::string_view kRawOption =
    "  --raw               allow values beyond the editor's ranges, up to what a settings\n"
    "                      file may hold (gain 10..400, shelfq 0..100)\n";

// The arguments get and set share: device options, --scene and PARAM (the first positional).
bool ReadParamCommand(const Invocation& inv, std::vector<OptionDef> extra, std::size_t positionals,
                      const char* what, ParsedArgs& parsed, DeviceOptions& options, int& index,
                      std::optional<int>& scene, int& status) {
    status = kExitOk;
    extra.push_back({"--scene", true});
    return ParseDeviceArgs(inv, std::move(extra), positionals, what, parsed, options, status) &&
           ReadParam(inv, parsed.positionals[0], index, status) &&
           ReadScene(inv, parsed, scene, status);
}

int RunGet(Invocation& inv) {
    ParsedArgs parsed;
    DeviceOptions options;
    int status = kExitOk;
    int index = 0;
    std::optional<int> scene;
    if (!ReadParamCommand(inv, {{"--json", false}}, 1, "PARAM", parsed, options, index, scene,
                          status))
        return status;

    DeviceSession session(inv, options);
    if (!session.Open() || !session.Synchronise()) return kExitDevice;
    const model::Workspace& ws = session.Workspace();
    const int slot = index >= model::kModeScopedEnd ? 0 : scene.value_or(ws.CurrentScene());
    if (parsed.Has("--json")) {
        PrintEntryJson(inv, options, session.Link().CurrentMode(), ws, index, slot);
        return kExitOk;
    }
    PrintEntry(inv, ws, index, slot);
    return kExitOk;
}

// ---- set ----

constexpr std::string_view kSetUsage =
    "Usage: vellora-cli set PARAM VALUE [--scene S] [--raw] [--device ENDPOINT]\n"
    "                       [--password DIGITS]";
constexpr std::string_view kSetText =
    "Links up, reads all of the device's working settings (with the access check), changes\n"
    "one parameter in them and sends it to the device with one write-parameter command, as\n"
    "an edit in the editor does. An entry that is not kept per scene changes in both scenes.\n"
    "PARAM is a ParamIndex (0..2999) or KIND,ADDR. VALUE is the entry's value as a whole\n"
    "number in its steps, or its fields as KEY=N separated by commas: value=N for a plain\n"
    "entry; type (0 peaking, 1 low shelf, 2 high shelf), freq (0..362), gain (10..370, 250\n"
    "= 0.0 dB), q (0..100), shelfq (0..26) and off (0, 1) for an EQ band, e.g. gain=270,q=40.\n"
    "Values are checked against the editor's ranges before the device is touched; --raw\n"
    "widens gain to 10..400 (+15.0 dB) and shelfq to 0..100, what a settings file may hold.\n"
    "The user level (2592) and the panel lock (2574) change only after their password\n"
    "(--password) is accepted, as in the mode manager.\n";

int RunSet(Invocation& inv) {
    ParsedArgs parsed;
    DeviceOptions options;
    int status = kExitOk;
    int index = 0;
    std::optional<int> scene;
    if (!ReadParamCommand(inv, {{"--raw", false}}, 2, "PARAM and VALUE", parsed, options, index, scene, status))
        return status;
    std::vector<std::pair<model::Field, int32_t>> writes;
    if (!ReadValue(inv, parsed.positionals[1], storage::FactoryLayout().Entry(index),
                   parsed.Has("--raw"), writes, status))
        return status;

    // The user rights change only after their password, as in the mode manager.
    std::optional<std::string> rightsPassword;
    const bool admin = index == model::entry::kAdminPassword;
    if (admin || index == model::entry::kPanelLock) {
        const std::size_t digits = admin ? 6 : 4;
        for (const std::string& p : options.Passwords)
            if (p.size() == digits) rightsPassword = p;
        if (!rightsPassword)
            return inv.Fail(
                std::string(admin ? "the user level (2592) changes only with the administrator "
                                    "password: give its 6 digits with --password"
                                  : "the panel lock (2574) changes only with the panel-lock "
                                    "password: give its 4 digits with --password"));
    }

    DeviceSession session(inv, options);
    if (!session.Open() || !session.Synchronise()) return kExitDevice;
    model::Workspace& ws = session.Workspace();
    if (rightsPassword) {
        std::vector<uint8_t> digits;
        for (const char c : *rightsPassword) digits.push_back(static_cast<uint8_t>(c - '0'));
        const CommandStatus checked = protocol::CheckPassword(
            session.Channel(), admin ? protocol::kAdministratorSlot : protocol::kPanelLockSlot,
            digits);
        if (checked != CommandStatus::Ok) return session.Failed(checked, "the password check");
    }
    if (scene) (void)ws.SetCurrentScene(*scene);
    const int slot = index >= model::kModeScopedEnd ? 0 : ws.CurrentScene();
    for (const auto& [field, value] : writes) {
        if (index >= model::kModeScopedEnd) {
            model::SetField(*ws.ParamStore.Slot(index, 0), field, value);  // scene slot 0 only
        } else {
            (void)ws.SetFieldBothScenes(index, field, value);
        }
    }
    const CommandStatus written = session.Channel().WriteParam(index);
    if (written != CommandStatus::Ok) return session.Failed(written, "writing the parameter");
    PrintEntry(inv, ws, index, slot);
    return kExitOk;
}

}  // namespace

void RegisterParamCommands(CommandRegistry& registry) {
    static const std::string get =
        DeviceHelp(kGetUsage, kGetText, std::string(kSceneOption) + std::string(kGetJsonOption));
    static const std::string set =
        DeviceHelp(kSetUsage, kSetText, std::string(kSceneOption) + std::string(kRawOption));
    registry.Add({"get", "device: print one parameter of the working settings", get, RunGet});
    registry.Add({"set", "device: write one parameter to the device", set, RunSet});
}

}  // namespace vellora::cli
