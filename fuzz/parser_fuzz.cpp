// Fuzzes the device-facing byte handling: arbitrary streams through the receive parser in
// chunks, with the link up and down, and arbitrary payloads decoded as block replies.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "model/workspace.h"
#include "protocol/entry_codec.h"
#include "protocol/frame_builder.h"
#include "protocol/receive_parser.h"

namespace {

using namespace vellora;

#define FUZZ_CHECK(cond)           \
    do {                           \
        if (!(cond)) std::abort(); \
    } while (0)

class CountingObserver : public protocol::ParserObserver {
public:
    void OnToneKey() override { ++tones; }
    void OnIdentified(char) override { ++identified; }
    void OnFrame(std::span<const uint8_t>, bool) override { ++replies; }
    int tones = 0, identified = 0, replies = 0;
};

void CheckParser(const protocol::ReceiveParser& parser) {
    FUZZ_CHECK(parser.Position() < protocol::kFrameBufferSize);
    const int length = parser.ReplyLength();
    FUZZ_CHECK(length == 0 || (length >= 3 && length <= 252));
    FUZZ_CHECK(parser.LastPayload().size() == (length == 0 ? 0u : std::size_t(length - 3)));
}

void CheckDecode(std::span<const uint8_t> payload, model::ParamTable& table,
                 const model::Workspace& ws, int kind, int slot) {
    const protocol::ByteResult r = protocol::DecodeBlock(payload, table, ws, kind, slot);
    if (r.Ok()) {
        FUZZ_CHECK(r.Bytes == payload.size());
    } else if (r.Error == protocol::ProtocolError::ReplyTooShort) {
        FUZZ_CHECK(r.Bytes > payload.size());
    } else if (r.Error == protocol::ProtocolError::ReplyTooLong) {
        FUZZ_CHECK(r.Bytes < payload.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const model::Workspace pristine;
    static model::Workspace ws;
    ws = pristine;
    if (size < 2) return 0;
    const uint8_t control = data[0];
    const std::size_t chunk = 1 + data[1] % 64;
    const std::span<const uint8_t> stream(data + 2, size - 2);

    // 1. The stream through the parser, once with the link down and once with it up.
    for (const bool linkUp : {false, true}) {
        protocol::LinkState link;
        if (linkUp) link.Identified(std::span(protocol::kDeviceTagPrefix));
        CountingObserver observer;
        protocol::ReceiveParser parser(ws, link, &observer);
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            const std::size_t n = std::min(chunk, stream.size() - at);
            parser.OnDeviceBytes(stream.subspan(at, n));
            CheckParser(parser);
            if (control & 0x80) parser.ResetPosition();
        }
        FUZZ_CHECK(!linkUp || observer.identified == 0);
        FUZZ_CHECK(observer.identified <= 1);
        FUZZ_CHECK(observer.replies == 0 || linkUp || observer.identified == 1);
        if (linkUp || link.LinkUp()) {
            // whatever completed is decodable as a block reply without reading past it
            CheckDecode(parser.LastPayload(), ws.ModeImage, ws, control % 11, (control >> 4) % 3);
        }
    }

    // 2. The raw bytes as a block reply for the kind and slot the first byte picks.
    const int kind = control % 12;  // 11 is no menu kind: must be refused
    const int slot = (control >> 4) % 4;
    std::vector<model::ParamRecord> before;
    for (int i = ws.MenuKindFirst(kind); kind < 11 && i <= ws.MenuKindLast(kind); ++i)
        before.push_back(*ws.ParamStore.Record(i));
    const protocol::ByteResult r = protocol::DecodeBlock(stream, ws.ParamStore, ws, kind, slot);
    CheckDecode(stream, ws.ModeImage, ws, kind, slot);
    if (!r.Ok())  // a refused reply leaves its kind as it was
        for (std::size_t n = 0; n < before.size(); ++n)
            FUZZ_CHECK(*ws.ParamStore.Record(ws.MenuKindFirst(kind) + static_cast<int>(n)) ==
                       before[n]);

    // 3. Whatever the decode stored must still build frames without reserved bytes.
    if (r.Ok() && kind < 11) {
        protocol::SendBuffer out{};
        protocol::FrameRequest request;
        request.command = protocol::Command::WriteParam;
        request.sendNeutral = (control & 1) != 0;
        request.scene = (control >> 1) & 1;
        for (int i = ws.MenuKindFirst(kind); i <= ws.MenuKindLast(kind); ++i) {
            request.index = i;
            const protocol::ByteResult f = protocol::BuildFrame(request, ws, out);
            if (!f.Ok()) continue;
            FUZZ_CHECK(out[0] == 0xFE && out[5] == f.Bytes);
            for (std::size_t b = 1; b < f.Bytes; ++b) FUZZ_CHECK(out[b] <= 252);
        }
    }
    return 0;
}
