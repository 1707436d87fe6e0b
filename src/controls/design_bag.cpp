// Typed reads from a control's design data.
#include "controls/design_bag.h"

namespace vellora::controls {

void ReadInt(const QVariantMap& bag, const char* key, int& out) {
    auto it = bag.find(QString::fromLatin1(key));
    if (it == bag.end()) return;
    bool ok = false;
    const int v = it->toInt(&ok);
    if (ok) out = v;
}

void ReadBool(const QVariantMap& bag, const char* key, bool& out) {
    auto it = bag.find(QString::fromLatin1(key));
    if (it == bag.end()) return;
    bool ok = false;
    const int number = it->toInt(&ok);
    if (ok) out = number != 0;
}

void ReadText(const QVariantMap& bag, const char* key, QString& out) {
    auto it = bag.find(QString::fromLatin1(key));
    if (it == bag.end() || !it->canConvert<QString>()) return;
    out = it->toString();
}

}  // namespace vellora::controls
