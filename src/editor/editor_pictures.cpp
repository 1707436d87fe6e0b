// Drawing the editor's pictures with the controls' drawing vocabulary.
#include "editor/editor_pictures.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

#include "controls/control_art.h"
#include "editor/page_tables.h"
#include "graph/picture_store.h"

namespace vellora::editor {

namespace {

using namespace controls::art;

constexpr QSize kTabSize(56, 32);
constexpr QSize kKeySize(34, 24);
constexpr QSize kWideKey(72, 24);
constexpr QSize kCommandKey(58, 24);  // the title strip's command keys
constexpr QSize kCopyKey(68, 24);  // the strip's copy keys fit their 71-pixel spacing
constexpr QSize kOptionKey(40, 24);
constexpr QSize kSceneKey(36, 24);
constexpr QSize kToneKey(76, 24);
constexpr QSize kWindowKey(24, 22);

QRectF KeyRect(QSize size) {
    return QRectF(1.5, 1.5, size.width() - 3.0, size.height() - 3.5);
}

// A console key with a text label; `lit` draws it lit (switch on, or pressed).
void TextKey(QPainter& p, QSize size, const QString& text, bool lit, bool greyed = false) {
    const QRectF r = KeyRect(size);
    KeyBody(p, r, greyed ? KeyLook::Locked : (lit ? KeyLook::Lit : KeyLook::Raised));
    const QColor ink = greyed ? QColor(110, 116, 126) : (lit ? QColor(236, 244, 255) : kInk);
    Label(p, r, text, ink, 11, Qt::AlignCenter, true);
}

// An arrow turning left (undo) or right (redo).
void TurnKey(QPainter& p, QSize size, bool redo, bool pressed) {
    const QRectF r = KeyRect(size);
    KeyBody(p, r, pressed ? KeyLook::Pressed : KeyLook::Raised);
    p.save();
    p.translate(r.center());
    if (redo) p.scale(-1, 1);
    QPainterPath arc;
    arc.moveTo(6, 5);
    arc.cubicTo(6, -6, -4, -6, -6, 0);
    p.setPen(QPen(pressed ? kAccent : kInk, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    QPainterPath head;
    head.moveTo(-9, -3);
    head.lineTo(-5.5, 3.5);
    head.lineTo(-2, -2.5);
    p.drawPath(head);
    p.restore();
}

void Tab(QPainter& p, QSize size, const QString& caption, bool on) {
    const QRectF r(1.5, 1.5, size.width() - 3.0, size.height() - 3.0);
    KeyBody(p, r, on ? KeyLook::Lit : KeyLook::Raised, 4);
    if (on) {
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(r.left() + 1, r.top() + 4, 3, r.height() - 8), 1.5, 1.5);
    }
    Label(p, r.adjusted(4, 0, 0, 0), caption, on ? QColor(236, 244, 255) : kDimInk, 12,
          Qt::AlignCenter);
}

void WindowKey(QPainter& p, QSize size, bool exit, bool pressed) {
    const QRectF r = KeyRect(size);
    KeyBody(p, r, pressed ? KeyLook::Pressed : KeyLook::Raised);
    p.setPen(QPen(exit ? QColor(236, 96, 88) : kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = r.center();
    if (exit) {
        p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
        p.drawLine(c + QPointF(4, -4), c + QPointF(-4, 4));
    } else {
        p.drawLine(c + QPointF(-5, 4), c + QPointF(5, 4));
    }
}

template <typename F>
void Pair(graph::PictureStore& store, int number, QSize size, F draw) {
    store.Register(number, size, [draw](QPainter& p, QSize s) { draw(p, s, false); });
    store.Register(number + 1, size, [draw](QPainter& p, QSize s) { draw(p, s, true); });
}

}  // namespace

void RegisterEditorPictures(graph::PictureStore& store) {
    for (int page = 0; page < kPageCount; ++page) {
        const std::string_view name = PageCaption(page);
        const QString caption = QString::fromUtf8(name.data(), static_cast<int>(name.size()));
        Pair(store, pic::kTab0 + 2 * page, kTabSize,
             [caption](QPainter& p, QSize s, bool on) { Tab(p, s, caption, on); });
    }
    Pair(store, pic::kUndo, kKeySize, [](QPainter& p, QSize s, bool on) { TurnKey(p, s, false, on); });
    Pair(store, pic::kRedo, kKeySize, [](QPainter& p, QSize s, bool on) { TurnKey(p, s, true, on); });
    const auto text = [](const char* t) {
        return [t](QPainter& p, QSize s, bool on) { TextKey(p, s, QString::fromUtf8(t), on); };
    };
    Pair(store, pic::kBypass, kCommandKey, text("BYPASS"));
    Pair(store, pic::kReset, kCommandKey, text("RESET"));
    Pair(store, pic::kRecord, kCommandKey, text("REC"));
    Pair(store, pic::kSinging, kSceneKey, text("唱歌"));
    Pair(store, pic::kDance, kSceneKey, text("劲舞"));
    Pair(store, pic::kAutoOff, kSceneKey, text("OFF"));
    Pair(store, pic::kAutoOn, kSceneKey, text("AUTO"));
    Pair(store, pic::kModeCopy, kCopyKey, text("COPY"));
    Pair(store, pic::kMicCopy, kCopyKey, text("MIC COPY"));
    const char* views[] = {"Echo EQ", "Rev EQ", "EFF EQ"};
    for (int v = 0; v < 3; ++v)
        Pair(store, pic::kView0 + 2 * v, QSize(58, 24), text(views[v]));
    for (int n = 0; n < 4; ++n) {
        const QString digit = QString::number(n + 1);
        Pair(store, pic::kOption0 + 2 * n, kOptionKey,
             [digit](QPainter& p, QSize s, bool on) { TextKey(p, s, digit, on); });
    }
    Pair(store, pic::kMinimise, kWindowKey,
         [](QPainter& p, QSize s, bool on) { WindowKey(p, s, false, on); });
    Pair(store, pic::kExit, kWindowKey,
         [](QPainter& p, QSize s, bool on) { WindowKey(p, s, true, on); });
    store.Register(pic::kSwitchOn, kWideKey, [](QPainter& p, QSize s) {
        TextKey(p, s, QStringLiteral("联机开启"), true);
    });
    store.Register(pic::kSwitchOn + 1, kWideKey, [](QPainter& p, QSize s) {
        TextKey(p, s, QStringLiteral("联机关闭"), false);
    });
    store.Register(pic::kEffectWindow, kWideKey, [](QPainter& p, QSize s) {
        TextKey(p, s, QStringLiteral("专业设置"), false);
    });
    store.Register(pic::kEffectWindow + 1, kWideKey, [](QPainter& p, QSize s) {
        TextKey(p, s, QStringLiteral("专业设置"), false, true);
    });
    store.Register(pic::kMute, QSize(24, 22), [](QPainter& p, QSize s) {
        TextKey(p, s, QStringLiteral("M"), false);
    });
    store.Register(pic::kMute + 1, QSize(24, 22), [](QPainter& p, QSize s) {
        const QRectF r = KeyRect(s);
        KeyBody(p, r, KeyLook::Lit);
        Label(p, r, QStringLiteral("M"), kMuteRed, 11, Qt::AlignCenter, true);
    });
    for (int key = 0; key <= 10; ++key) {
        const QString caption = key == 5   ? QStringLiteral("Key: 0")
                                : key < 5 ? QStringLiteral("Key: -%1").arg(5 - key)
                                          : QStringLiteral("Key: +%1").arg(key - 5);
        store.Register(pic::kTone0 + key, kToneKey, [caption, key](QPainter& p, QSize s) {
            TextKey(p, s, caption, key != 5);
        });
    }
}

}  // namespace vellora::editor
