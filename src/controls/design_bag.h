// Reading a control's stored properties from its window's design data: a bag of key and value
// per control. Absent keys keep the control's defaults; a value of the wrong kind is ignored.
#pragma once

#include <QString>
#include <QVariantMap>

namespace vellora::controls {

/// A whole number under `key` (text of digits counts), else `out` unchanged.
void ReadInt(const QVariantMap& bag, const char* key, int& out);
/// A boolean stored as a number (0 false, anything else true, -1 by the 16-bit convention).
void ReadBool(const QVariantMap& bag, const char* key, bool& out);
/// A text under `key`; numbers are taken as their text.
void ReadText(const QVariantMap& bag, const char* key, QString& out);

}  // namespace vellora::controls
