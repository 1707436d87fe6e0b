// Mode names as safe file names in the mode folder.
#include "storage/mode_files.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace vellora::storage {

namespace {

bool IsForbidden(QChar c) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) return true;
    if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) return true;
    if (c == QChar::ReplacementCharacter) return true;
    static constexpr std::u16string_view kForbidden = u"/\\<>:\"|?*";
    return kForbidden.find(c.unicode()) != std::u16string_view::npos;
}

bool IsWindowsDeviceName(const QString& name) {
    // The part before the first dot decides ("CON.txt" is CON too).
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList kNames = {"CON", "PRN", "AUX", "NUL"};
    if (kNames.contains(stem)) return true;
    return stem.size() == 4 && (stem.startsWith("COM") || stem.startsWith("LPT")) &&
           stem[3] >= QLatin1Char('0') && stem[3] <= QLatin1Char('9');
}

}  // namespace

QString ModeFileBaseName(std::string_view name, int mode) {
    QString out;
    for (const QChar c : QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))) {
        const QChar safe = IsForbidden(c) ? QLatin1Char('_') : c;
        if (safe == QLatin1Char('.') && out.endsWith(QLatin1Char('.'))) continue;
        out += safe;
    }
    out = out.trimmed();
    while (out.endsWith(QLatin1Char('.')) || out.endsWith(QLatin1Char(' '))) out.chop(1);
    if (out.startsWith(QLatin1Char('.'))) out[0] = QLatin1Char('_');
    if (IsWindowsDeviceName(out)) out.prepend(QLatin1Char('_'));
    if (out.isEmpty()) return QStringLiteral("模式") + QString::number(mode + 1);
    return out;
}

QString UniqueBaseName(const QString& base, const std::vector<QString>& taken) {
    const auto isTaken = [&taken](const QString& name) {
        return std::any_of(taken.begin(), taken.end(), [&name](const QString& t) {
            return t.compare(name, Qt::CaseInsensitive) == 0;
        });
    };
    if (!isTaken(base)) return base;
    for (int n = 2;; ++n) {
        const QString candidate = base + QStringLiteral(" (%1)").arg(n);
        if (!isTaken(candidate)) return candidate;
    }
}

std::optional<QString> ModeFilePath(const QString& folder, const QString& base) {
    if (base.isEmpty()) return std::nullopt;
    const QString fileName =
        base + QString::fromLatin1(kModeFileExtension.data(),
                                   static_cast<qsizetype>(kModeFileExtension.size()));
    if (fileName.contains(QLatin1Char('/')) || fileName.contains(QLatin1Char('\\')) ||
        base == QLatin1String("..") || base == QLatin1String("."))
        return std::nullopt;
    const QDir dir(QDir::cleanPath(QDir(folder).absolutePath()));
    const QString path = QDir::cleanPath(dir.absoluteFilePath(fileName));
    if (QFileInfo(path).absolutePath() != dir.absolutePath()) return std::nullopt;
    return path;
}

}  // namespace vellora::storage
