// What the settings commands share: reading a file argument with a clear error line, the
// entries to list, scene labels, and the JSON form of entries, slots and anomalies.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_registry.h"
#include "model/workspace.h"
#include "storage/param_layout.h"
#include "storage/settings_check.h"

namespace vellora::cli {

/// Reads the settings file `path` into `workspace.ModeImage` (and its bytes into `bytes` when
/// given). On failure prints one error line through `inv` and returns false.
[[nodiscard]] bool LoadSettingsArgument(const Invocation& inv, const std::string& path,
                                        model::Workspace& workspace,
                                        std::vector<uint8_t>* bytes = nullptr);

/// Writes `table` as a settings file under exactly `path`, replaced only once complete. On
/// failure prints one error line through `inv` ("cannot write PATH: the disk is full") and
/// returns false. Check the path with OutputPathProblem before any work.
[[nodiscard]] bool WriteSettingsOutput(const Invocation& inv, const std::string& path,
                                       const model::ParamTable& table);

/// "slot 0 唱歌模式", "slot 1 劲舞模式", "slot 2 factory".
std::string SlotLabel(int slot);

/// The entries a listing shows, in index order: every entry the layout defines, plus every
/// entry the table marks Defined in any slot (so a file's extra entries are not hidden, and
/// garbage Defined flags cannot hide a real entry).
std::vector<int> ListedEntries(const model::ParamTable& table, const storage::ParamLayout& layout);

/// {"index", "kind", "address", "name" (string or null), "role", "roleText"}.
QJsonObject EntryJson(int index, const storage::EntryInfo& entry);
/// One slot: {"slot", "text", "raw": {...}} plus the value in units by role.
QJsonObject SlotJson(const storage::EntryInfo& entry, const model::SceneSlot& slot, int slotIndex);
QJsonArray AnomaliesJson(const std::vector<storage::Anomaly>& anomalies);

/// Writes a JSON document (UTF-8, indented) and a final newline.
void WriteJson(std::ostream& out, const QJsonObject& object);

/// Prints up to `limit` anomaly lines after a heading; says how many were left out.
void PrintAnomalies(std::ostream& out, const std::vector<storage::Anomaly>& anomalies,
                    std::size_t limit);

}  // namespace vellora::cli
