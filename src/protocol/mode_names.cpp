// Mode names from the device and their file names.
#include "protocol/mode_names.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace vellora::protocol {

namespace {

constexpr const char* kGbk = "GBK";

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

std::string DecodeGbk(std::span<const uint8_t> bytes) {
    const QByteArray raw(reinterpret_cast<const char*>(bytes.data()),
                         static_cast<qsizetype>(bytes.size()));
    QStringDecoder decoder(kGbk, QStringConverter::Flag::Stateless);
    if (decoder.isValid()) return QString(decoder.decode(raw)).toStdString();
    // No GBK converter on this system: ASCII stays, every other byte is marked unknown.
    QString text;
    for (const uint8_t b : bytes) text += b < 0x80 ? QChar(b) : QChar(QChar::ReplacementCharacter);
    return text.toStdString();
}

GbkEncodeError EncodeGbk(std::string_view utf8, std::vector<uint8_t>& out) {
    QStringEncoder encoder(kGbk, QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) return GbkEncodeError::NoConverter;
    // Text that is not UTF-8 decodes to U+FFFD, which GBK cannot say either.
    const QByteArray bytes =
        encoder.encode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    if (encoder.hasError()) return GbkEncodeError::NotGbk;
    out.assign(bytes.begin(), bytes.end());
    return GbkEncodeError::Ok;
}

std::array<std::string, kModeNameCount> DecodeModeNames(std::span<const uint8_t> payload) {
    std::array<std::string, kModeNameCount> names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t start = i * kModeNameBytes;
        if (start >= payload.size()) break;
        const auto field = payload.subspan(start, std::min(kModeNameBytes, payload.size() - start));
        const auto end = std::find(field.begin(), field.end(), uint8_t{0});
        names[i] = DecodeGbk(field.first(static_cast<std::size_t>(end - field.begin())));
    }
    return names;
}

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

}  // namespace vellora::protocol
