// Mode names from the device, and GBK text both ways.
#include "protocol/mode_names.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace vellora::protocol {

namespace {

constexpr const char* kGbk = "GBK";

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

}  // namespace vellora::protocol
