// The program's numbered pictures: each number has a natural size and a maker that draws it;
// a picture is made once, on first use, at the screen's pixel density, and drawn by number.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <map>
#include <utility>

class QColor;
class QPainter;

namespace vellora::graph {

/// The family every program text is drawn in, at 12 pixels.
inline constexpr const char* kUiFontFamily = "宋体";
/// The installed Song-style face that stands in for kUiFontFamily where it is missing. Its
/// Latin letters and digits are proportional, so "12.0" shows no gap before the point.
inline constexpr const char* kUiFontSubstitute = "Noto Serif CJK SC";
inline constexpr int kUiFontPixels = 12;
/// Pixels from the top a text is placed at to its baseline: the em box of a 12-pixel Song
/// face starts at the top, whatever leading the installed face adds above it.
inline constexpr int kUiTextBaseline = 11;

class PictureStore {
public:
    /// Paints a picture into a painter whose coordinates run over 0..size (logical pixels,
    /// antialiasing on). `size` is the natural size, or the target size of a scaled draw, so
    /// vector artwork stays sharp at any size.
    using Maker = std::function<void(QPainter& painter, QSize size)>;

    /// Sets up the font substitution of the UI font; `devicePixelRatio` >= 1 is the density
    /// the pictures are rendered at. Needs a QGuiApplication.
    explicit PictureStore(qreal devicePixelRatio = 1.0);

    /// Adds or replaces the maker of a picture number (101..500 by convention).
    void Register(int number, QSize naturalSize, Maker maker);
    [[nodiscard]] bool Has(int number) const { return makers_.count(number) != 0; }
    /// Natural size in logical pixels; an empty size for an unknown number.
    [[nodiscard]] QSize Size(int number) const;

    [[nodiscard]] qreal DevicePixelRatio() const { return dpr_; }
    /// A new density drops every made picture (they are made again on use).
    void SetDevicePixelRatio(qreal dpr);

    /// The picture at natural size, made on first use; a null image for an unknown number.
    const QImage& Image(int number);
    /// The picture made at another size (kept in a small cache); null for unknown / empty.
    const QImage& ImageAt(int number, QSize size);

    /// Draws at natural size with its top-left at `topLeft`. Unknown numbers draw nothing.
    void Draw(QPainter& painter, int number, QPoint topLeft);
    /// Draws the picture made at the target's size into the target rectangle.
    void DrawScaled(QPainter& painter, int number, const QRect& target);
    /// Runs the picture's maker straight into `painter` over `target` and keeps no copy: for
    /// pictures as large as the window, drawn once per size. On a transparent target the
    /// pixels are those of DrawScaled.
    void Paint(QPainter& painter, int number, const QRect& target) const;
    /// Draws the part `source` (natural coordinates) of the picture into `target`.
    void DrawPart(QPainter& painter, int number, const QRect& target, const QRect& source);
    /// Draws at natural size, rotated by `degrees` (clockwise) about its centre, placed at
    /// `centre`.
    void DrawRotated(QPainter& painter, int number, QPointF centre, qreal degrees);

    /// "宋体", 12 pixels, regular.
    [[nodiscard]] static QFont UiFont();
    /// Draws a text in the UI font, left-aligned, its baseline kUiTextBaseline below `topLeft`.
    /// A text wider than `maxWidth` (when above 0) is squeezed across to that width.
    static void DrawText(QPainter& painter, QPoint topLeft, const QString& text,
                         const QColor& colour, int maxWidth = 0);

    /// Where a text in the UI font starts (its baseline's left end) when centred on `box`:
    /// across by its advance, down by the height of its digits and capitals.
    [[nodiscard]] static QPointF CentredTextOrigin(const QString& text, const QRectF& box);
    /// Draws a text in the UI font centred on `box`, squeezed across when wider than the box.
    static void DrawTextCentred(QPainter& painter, const QRect& box, const QString& text,
                                const QColor& colour);

    /// How many pictures have been made so far (natural and sized), for tests and statistics.
    [[nodiscard]] int MadeCount() const { return made_count_; }

private:
    struct Entry {
        QSize size;
        Maker maker;
    };
    QImage Make(const Entry& entry, QSize size) const;

    std::map<int, Entry> makers_;
    std::map<int, QImage> natural_;
    std::map<std::pair<int, std::pair<int, int>>, QImage> sized_;
    qreal dpr_ = 1.0;
    int made_count_ = 0;
    QImage null_;
};

}  // namespace vellora::graph
