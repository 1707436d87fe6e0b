// Shared pieces of the settings commands.
#include "cli/settings_view.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QString>

#include "cli/output_file.h"
#include "model/param_store.h"
#include "storage/param_format.h"
#include "storage/settings_codec.h"
#include "storage/settings_file.h"

namespace vellora::cli {

namespace {

QJsonValue Optional(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue Optional(const std::optional<std::string_view>& text) {
    return text ? QJsonValue(QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size())))
                : QJsonValue(QJsonValue::Null);
}

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool LoadSettingsArgument(const Invocation& inv, const std::string& path,
                          model::Workspace& workspace, std::vector<uint8_t>* bytes) {
    const QString file = QString::fromStdString(path);
    std::vector<uint8_t> image;
    storage::StorageError error = storage::ReadSettingsBytes(file, image);
    if (error == storage::StorageError::Ok)
        error = storage::DecodeTable(image, workspace.ModeImage);
    if (error == storage::StorageError::WrongSize) {
        inv.Fail(path + ": not a settings file: " + std::to_string(QFileInfo(file).size()) +
                 " bytes, a settings file has exactly " +
                 std::to_string(storage::kSettingsFileSize));
        return false;
    }
    if (error != storage::StorageError::Ok) {
        inv.Fail(path + ": " + std::string(storage::StorageErrorText(error)));
        return false;
    }
    if (bytes) *bytes = std::move(image);
    return true;
}

bool WriteSettingsOutput(const Invocation& inv, const std::string& path,
                         const model::ParamTable& table) {
    const std::vector<uint8_t> image = storage::EncodeTable(table);
    std::string error;
    if (WriteOutputFile(QString::fromStdString(path),
                        QByteArray(reinterpret_cast<const char*>(image.data()),
                                   static_cast<qsizetype>(image.size())),
                        error))
        return true;
    inv.Fail("cannot write " + path + ": " + error);
    return false;
}

std::string SlotLabel(int slot) {
    switch (slot) {
        case 0:
            return "slot 0 唱歌模式";
        case 1:
            return "slot 1 劲舞模式";
        case 2:
            return "slot 2 factory";
    }
    return "slot " + std::to_string(slot);
}

std::vector<int> ListedEntries(const model::ParamTable& table, const storage::ParamLayout& layout) {
    std::vector<int> listed;
    for (int index = 0; index < model::kParamCount; ++index) {
        bool marked = false;
        for (int s = 0; s < model::kSlotCount; ++s)
            marked = marked || table.Slot(index, s)->Defined;
        if (layout.Defines(index) || marked) listed.push_back(index);
    }
    return listed;
}

QJsonObject EntryJson(int index, const storage::EntryInfo& entry) {
    QJsonObject object;
    object["index"] = index;
    object["kind"] = index / 256;
    object["address"] = index % 256;
    const std::string_view name = storage::EntryName(index);
    object["name"] = name.empty() ? QJsonValue(QJsonValue::Null) : QJsonValue(Q(name));
    object["role"] = Q(storage::RoleKey(entry.role));
    object["roleText"] = Q(storage::RoleText(entry));
    return object;
}

QJsonObject SlotJson(const storage::EntryInfo& entry, const model::SceneSlot& slot, int slotIndex) {
    using storage::EntryRole;
    QJsonObject raw;
    raw["filterType"] = slot.FilterType;
    raw["value"] = slot.Value;
    raw["qType"] = slot.QType;
    raw["freq"] = slot.Freq;
    raw["gain"] = slot.Gain;
    raw["q"] = slot.Q;
    raw["shelfQ"] = slot.ShelfQ;
    raw["defined"] = slot.Defined;
    raw["perScene"] = slot.PerScene;
    raw["eqDisabled"] = slot.EQdisabled;

    QJsonObject object;
    object["slot"] = slotIndex;
    object["text"] = QString::fromStdString(storage::SlotText(entry, slot)).simplified();
    object["raw"] = raw;
    switch (entry.role) {
        case EntryRole::EqBand:
            object["shape"] = Optional(storage::BandShapeName(slot.QType));
            object["freqHz"] = Optional(storage::FrequencyHz(slot.Freq));
            object["gainDb"] = storage::GainDb(slot.Gain);
            object["q"] = Optional(storage::QFactor(slot.Q));
            object["shelfQ"] = Optional(storage::QFactor(slot.ShelfQ));
            object["on"] = !slot.EQdisabled;
            break;
        case EntryRole::FilterFrequency:
        case EntryRole::Frequency:
            object["hz"] = Optional(storage::FrequencyHz(slot.Value));
            break;
        case EntryRole::FilterType:
            object["crossover"] =
                Optional(storage::CrossoverTypeName(slot.Value, entry.fullCrossoverList));
            break;
        case EntryRole::Plain:
            object["step"] = slot.Value;
            break;
        case EntryRole::Undefined:
            break;
    }
    return object;
}

QJsonArray AnomaliesJson(const std::vector<storage::Anomaly>& anomalies) {
    QJsonArray array;
    for (const storage::Anomaly& a : anomalies) {
        QJsonObject object;
        object["index"] = a.index;
        object["slot"] = a.slot;
        object["field"] = Q(storage::SlotFieldName(a.field));
        object["value"] = static_cast<qint64>(a.value);
        object["min"] = static_cast<qint64>(a.min);
        object["max"] = static_cast<qint64>(a.max);
        object["text"] = QString::fromStdString(storage::AnomalyText(a));
        array.append(object);
    }
    return array;
}

void WriteJson(std::ostream& out, const QJsonObject& object) {
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Indented);
    out.write(json.constData(), json.size());
    if (!json.endsWith('\n')) out << '\n';
}

void PrintAnomalies(std::ostream& out, const std::vector<storage::Anomaly>& anomalies,
                    std::size_t limit) {
    if (anomalies.empty()) return;
    out << "\nOut-of-range values (" << anomalies.size() << "):\n";
    for (std::size_t i = 0; i < anomalies.size() && i < limit; ++i)
        out << "  " << storage::AnomalyText(anomalies[i]) << '\n';
    if (anomalies.size() > limit)
        out << "  ... and " << anomalies.size() - limit << " more (--json lists them all)\n";
}

}  // namespace vellora::cli
