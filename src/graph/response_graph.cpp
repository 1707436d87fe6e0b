// Drawing of the response graph: the background layer with its grid, the layer of the
// unselected curves, and the finished picture with the selected band, the sum, the handles,
// the value labels and the bypass banner.
#include "graph/response_graph.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include "graph/graph_palette.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "model/value_scales.h"

namespace vellora::graph {

namespace {

QColor ToQColor(Argb c) { return QColor(c.r, c.g, c.b, c.a); }

QColor BandCurveColour(int position, int alpha) {
    QColor c = ToQColor(BandColour(position));
    c.setAlpha(alpha);
    return c;
}

// The frequency of a table entry in its shortest decimal form: 19.7, 1000, 20220.
QString FreqText(int index) {
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, model::FreqAt(index));
    return QString::fromLatin1(buf, static_cast<int>(result.ptr - buf));
}

// Grid lines: 10..90, 100..900, 1000..9000 Hz, then 10 kHz and 20 kHz.
std::vector<float> GridLineFrequencies() {
    std::vector<float> f;
    for (float decade : {10.0f, 100.0f, 1000.0f})
        for (int m = 1; m <= 9; ++m) f.push_back(decade * static_cast<float>(m));
    f.push_back(10000.0f);
    f.push_back(20000.0f);
    return f;
}

constexpr float kGridDb[] = {12.0f, 6.0f, 0.0f, -6.0f, -12.0f, -18.0f, -24.0f};
const char* const kGridDbText[] = {"+12dB", " +6dB", "  0dB", " -6dB", "-12dB", "-18dB", "-24dB"};

struct AxisLabel {
    float hz;
    const char* text;
    int dx;
};
constexpr AxisLabel kAxisLabels[] = {{20.0f, "20Hz", -14},      {100.0f, "100Hz", -14},
                                     {1000.0f, "1KHz", -14},    {10000.0f, "10KHz", -14},
                                     {20000.0f, "20KHz", -16}};

}  // namespace

ResponseGraph::ResponseGraph(const model::Workspace& ws, PictureStore& pictures)
    : ws_(ws), pictures_(pictures) {
    for (int i = 0; i < kMaxBands; ++i) list_.Bands[static_cast<size_t>(i)].Column = static_cast<uint8_t>(i);
}

QImage ResponseGraph::MakeLayer() const {
    const int w = static_cast<int>(std::ceil(geometry_.Width() * dpr_));
    const int h = static_cast<int>(std::ceil(geometry_.Height() * dpr_));
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr_);
    return image;
}

bool ResponseGraph::SetupGeometry(int w, int h, qreal devicePixelRatio) {
    const qreal dpr = std::clamp<qreal>(devicePixelRatio, 1.0, 4.0);
    const bool resized = geometry_.SetupGeometry(w, h);
    if (!resized && has_geometry_ && dpr == dpr_ && HasGraphics()) return false;
    has_geometry_ = true;
    dpr_ = dpr;
    pictures_.SetDevicePixelRatio(dpr_);
    table_.PrepareGrid(geometry_.GridFrequencies());
    for (int i = 0; i < list_.CurveCount; ++i) table_.ComputeBandCurve(list_.Bands[static_cast<size_t>(i)], view_.Page);
    table_.ComputeSum(list_.CurveCount);

    back_ = MakeLayer();
    curve_ = MakeLayer();
    front_ = MakeLayer();
    DrawBackLayer();
    DrawCurveLayer();
    std::memcpy(front_.bits(), curve_.constBits(), static_cast<size_t>(curve_.sizeInBytes()));
    return true;
}

void ResponseGraph::DrawBackLayer() {
    const GraphGeometry& g = geometry_;
    QPainter p(&back_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(0, 0, g.Width(), g.Height()), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    pictures_.DrawScaled(p, kPicGraphBackground, QRect(0, 0, g.Width(), g.Height()));

    p.setRenderHint(QPainter::Antialiasing, false);
    QPen grid(ToQColor(kGridColour), 1.0);
    p.setPen(grid);
    for (float hz : GridLineFrequencies()) {
        const int x = model::RoundHalfEven(g.FreqToX(hz));
        p.drawLine(x, kPlotTop, x, g.YB());
    }
    for (float db : kGridDb) {
        const int y = model::RoundHalfEven(g.DbToY(db));
        p.drawLine(kPlotLeft, y, g.XR(), y);
    }

    const QColor labelColour = ToQColor(kAxisLabelColour);
    const int labelY = model::RoundHalfEven(g.DbToY(-25.5f));
    for (const AxisLabel& label : kAxisLabels) {
        const int x = model::RoundHalfEven(g.FreqToX(label.hz)) + label.dx;
        PictureStore::DrawText(p, QPoint(x, labelY), QString::fromLatin1(label.text), labelColour);
    }
    for (size_t i = 0; i < std::size(kGridDb); ++i) {
        const int y = model::RoundHalfEven(g.DbToY(kGridDb[i])) - 6;
        PictureStore::DrawText(p, QPoint(7, y), QString::fromLatin1(kGridDbText[i]), labelColour);
    }
}

void ResponseGraph::BuildCurveList(SliderHost* sliders) { list_ = graph::BuildCurveList(ws_, view_, sliders); }

void ResponseGraph::RedrawAll(const GraphView& view, SliderHost* sliders) {
    view_ = view;
    ResetFade();
    BuildCurveList(sliders);
    selected_ = 0;
    for (int i = 0; i < list_.CurveCount; ++i) table_.ComputeBandCurve(list_.Bands[static_cast<size_t>(i)], view_.Page);
    DrawCurveLayer();
    ComputeSum();
}

void ResponseGraph::ComputeBandCurve(int position) {
    const CurveBand* band = list_.At(position);
    if (band) table_.ComputeBandCurve(*band, view_.Page);
}

void ResponseGraph::ComputeSum() { table_.ComputeSum(list_.CurveCount); }

void ResponseGraph::SetSelectedBand(int position) {
    position = std::clamp(position, 0, kMaxBands - 1);
    if (position == selected_) return;
    selected_ = position;
    DrawCurveLayer();
}

namespace {

// Points of a curve: one per grid column, y held far enough outside the picture that the
// visible part of every segment keeps its true slope.
void CurvePoints(const GraphGeometry& g, std::span<const float> db, std::vector<QPointF>& out) {
    const size_t n = std::min(db.size(), static_cast<size_t>(std::max(g.GridPoints(), 0)));
    out.resize(n);
    const float limit = 16.0f * static_cast<float>(g.Height());
    for (size_t j = 0; j < n; ++j) {
        float y = g.DbToY(db[j]);
        if (!std::isfinite(y)) y = static_cast<float>(g.Y0());
        y = std::clamp(y, -limit, limit);
        out[j] = QPointF(kPlotLeft + static_cast<qreal>(j), y);
    }
}

// A hairline pen: one device pixel, the raster engine's fast antialiased path. Band curves
// are one pixel wide at normal density and stay one device pixel (finer) on dense screens.
QPen HairlinePen(const QColor& colour) {
    QPen pen(colour, 1.0);
    pen.setCosmetic(true);
    return pen;
}

// An opaque curve `logicalWidth` pixels wide, drawn as hairlines spaced half a device pixel
// apart along the curve's normals. Antialiased pens wider than one device pixel cost about
// twenty times as much in the raster engine; for an opaque colour the result is the same.
void DrawWideCurve(QPainter& p, const std::vector<QPointF>& points, const QColor& colour,
                   qreal logicalWidth, qreal dpr, std::vector<QPointF>& shifted) {
    const size_t n = points.size();
    if (n < 2) return;
    p.setPen(HairlinePen(colour));
    const qreal deviceWidth = logicalWidth * dpr;
    const int steps = std::max(0, static_cast<int>(std::lround((deviceWidth - 1.0) * 2.0)));
    shifted.resize(n);
    for (int k = 0; k <= steps; ++k) {
        const qreal offset = (-(deviceWidth - 1.0) / 2.0 + k * 0.5) / dpr;
        if (offset == 0.0) {
            p.drawPolyline(points.data(), static_cast<int>(n));
            continue;
        }
        for (size_t j = 0; j < n; ++j) {
            const QPointF& a = points[j == 0 ? 0 : j - 1];
            const QPointF& b = points[j + 1 < n ? j + 1 : n - 1];
            const qreal tx = b.x() - a.x();
            const qreal ty = b.y() - a.y();
            const qreal len = std::hypot(tx, ty);
            const QPointF normal = len > 0 ? QPointF(-ty / len, tx / len) : QPointF(0, 1);
            shifted[j] = points[j] + normal * offset;
        }
        p.drawPolyline(shifted.data(), static_cast<int>(n));
    }
}

// Curves run through pixel centres, so that a flat line covers exactly one pixel row.
constexpr qreal kPixelCentre = 0.5;

}  // namespace

void ResponseGraph::DrawCurveLayer() {
    if (!HasGraphics()) return;
    std::memcpy(curve_.bits(), back_.constBits(), static_cast<size_t>(back_.sizeInBytes()));
    QPainter p(&curve_);
    p.setClipRect(PlotRect());
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(kPixelCentre, kPixelCentre);
    std::vector<QPointF>& points = points_;
    for (int i = 0; i < list_.CurveCount; ++i) {
        if (i == selected_ || list_.Bands[static_cast<size_t>(i)].EQdisabled) continue;
        CurvePoints(geometry_, table_.Column(list_.Bands[static_cast<size_t>(i)].Column), points);
        if (points.size() < 2) continue;
        p.setPen(HairlinePen(BandCurveColour(i, kCurveAlpha)));
        p.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
}

QRect ResponseGraph::PlotRect() const {
    return QRect(QPoint(kPlotLeft, kPlotTop), QPoint(geometry_.XR(), geometry_.YB()));
}

QPoint ResponseGraph::HandleCentre(int position) const {
    const CurveBand* band = list_.At(position);
    if (!band) return {};
    const int x = model::RoundHalfEven(geometry_.FreqToX(model::FreqAt(band->Freq)));
    const int y = band->IsEq() ? model::RoundHalfEven(geometry_.GainStepToY(band->GainOrType))
                               : geometry_.Y0();
    return {x, y};
}

void ResponseGraph::DrawHandles(QPainter& p, int& labelX, int& labelY, bool& selectedDrawn) {
    selectedDrawn = false;
    int selectedT = -1;
    QPoint selectedAt;
    for (int j = 0; j < list_.CurveCount; ++j) {
        const CurveBand& band = list_.Bands[static_cast<size_t>(j)];
        const QPoint c = HandleCentre(j);
        const int t = band.IsEq() ? j : (band.FilterType == kBandHighPass ? kHandleHighPass : kHandleLowPass);
        if (list_.PageGreyed || band.EQdisabled || band.Locked) {
            pictures_.Draw(p, kPicDisabledHandle, c - QPoint(6, 6));
        } else if (j == selected_) {
            selectedT = t;  // drawn last, on top of its neighbours
            selectedAt = c;
        } else {
            pictures_.Draw(p, kPicHandle0 + t, c - QPoint(8, 8));
        }
    }
    if (selectedT < 0) return;
    if (blink_big_)
        pictures_.DrawScaled(p, kPicSelectedHandle0 + selectedT, QRect(selectedAt - QPoint(19, 19), QSize(40, 40)));
    else
        pictures_.Draw(p, kPicSelectedHandle0 + selectedT, selectedAt - QPoint(16, 16));
    selectedDrawn = true;
    labelX = selectedAt.x();
    labelY = selectedAt.y();
}

void ResponseGraph::DrawLabels(QPainter& p, int xs, int y) {
    const CurveBand* band = list_.At(selected_);
    if (!band) return;
    if (xs > geometry_.XR() - 80) xs -= 70;
    struct Label {
        QPoint at;
        QString text;
    };
    std::vector<Label> labels;
    if (band->IsEq()) {
        const int q = band->QType != 0 ? band->ShelfQ : band->Q;
        labels.push_back({QPoint(xs + 15, y - 16), FreqText(band->Freq) + QStringLiteral("Hz")});
        labels.push_back({QPoint(xs + 15, y - 4), QString::fromStdString(model::GainText(band->GainOrType)) + QStringLiteral("dB")});
        labels.push_back({QPoint(xs + 15, y + 8), QString::fromStdString(model::QText(q)) + QStringLiteral(" Q")});
    } else {
        static const int lowOff = model::FreqIndex(10);
        static const int highOff = model::FreqIndex(20220);
        if (band->Freq == lowOff)
            labels.push_back({QPoint(xs - 10, y - 22), QStringLiteral("OFF")});
        else if (band->Freq == highOff)
            labels.push_back({QPoint(xs + 60, y - 25), QStringLiteral("OFF")});
        else
            labels.push_back({QPoint(xs - 15, y - 22), FreqText(band->Freq) + QStringLiteral("Hz")});
    }

    // A dark plate under the texts keeps them legible over the curves.
    const QFontMetrics metrics(PictureStore::UiFont());
    QRect plate;
    for (const Label& label : labels)
        plate |= QRect(label.at, QSize(metrics.horizontalAdvance(label.text), metrics.height()));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 10, 14, 150));
    p.drawRoundedRect(QRectF(plate.adjusted(-4, -2, 4, 2)), 3, 3);
    p.setBrush(Qt::NoBrush);

    const QColor colour = ToQColor(kBandLabelColour);
    for (const Label& label : labels) PictureStore::DrawText(p, label.at, label.text, colour);
}

void ResponseGraph::Compose() {
    if (!HasGraphics()) return;
    std::memcpy(front_.bits(), curve_.constBits(), static_cast<size_t>(curve_.sizeInBytes()));
    if (blink_counter_ == 0) blink_counter_ = 1;

    QPainter p(&front_);
    p.setClipRect(PlotRect());
    p.translate(kPixelCentre, kPixelCentre);
    std::vector<QPointF>& points = points_;
    const qreal y0 = geometry_.Y0();

    // Fills are drawn without antialiasing: their edge lies under the antialiased curve.
    auto fill = [&](const QColor& colour) {
        if (points.size() < 2 || colour.alpha() == 0) return;
        const QPointF first = points.front();
        const QPointF last = points.back();
        points.front().setY(y0);
        points.back().setY(y0);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPolygon(points.data(), static_cast<int>(points.size()));
        p.setBrush(Qt::NoBrush);
        points.front() = first;
        points.back() = last;
    };
    auto line = [&](const QColor& colour, qreal width) {
        if (points.size() < 2) return;
        p.setRenderHint(QPainter::Antialiasing, true);
        if (width <= 1.0) {
            p.setPen(HairlinePen(colour));
            p.drawPolyline(points.data(), static_cast<int>(points.size()));
        } else {
            DrawWideCurve(p, points, colour, width, dpr_, shifted_);
        }
    };

    if (const CurveBand* band = list_.At(selected_)) {
        CurvePoints(geometry_, table_.Column(band->Column), points);
        if (fade_phase_ == kFadeBand) fill(BandCurveColour(selected_, 13 * fade_level_));
        line(BandCurveColour(selected_, kCurveAlpha), 1.0);
    }
    CurvePoints(geometry_, table_.SumCurve(), points);
    if (fade_phase_ == kFadeSum) {
        QColor yellow = ToQColor(kSumFillColour);
        yellow.setAlpha(10 * fade_level_);
        fill(yellow);
    }
    line(ToQColor(list_.PageGreyed ? kSumGreyedColour : kSumColour), 2.0);

    p.resetTransform();
    p.setClipping(false);
    p.setRenderHint(QPainter::Antialiasing, true);
    int xs = 0;
    int y = 0;
    bool selectedDrawn = false;
    DrawHandles(p, xs, y, selectedDrawn);
    if (!list_.PageGreyed && selectedDrawn) DrawLabels(p, xs, y);

    const int bypass = BypassEntry(view_);
    if (bypass >= 0 && ws_.ParamStore.ValueAt(bypass, 0) == 1)
        pictures_.Draw(p, kPicBypassBanner,
                       QPoint(model::RoundHalfEven(geometry_.Width() / 2.0 - 100.0),
                              model::RoundHalfEven(geometry_.Height() / 3.0)));
    p.end();

    ++paint_count_;
    if (frame_sink_) frame_sink_();
}

void ResponseGraph::Repaint(QPainter& painter, QPoint at) const {
    if (HasGraphics()) painter.drawImage(at, front_);
}

void ResponseGraph::HighlightSliders(SliderHost& sliders) const {
    const int first = ws_.MenuKindFirst(view_.Page);
    const int last = ws_.MenuKindLast(view_.Page);
    for (int s = 0; s < sliders.SliderCount(); ++s) {
        const int addr = sliders.SliderAddr(s);
        const int band = sliders.SliderEqIndex(s);
        if (addr < first || addr > last || band < 0) continue;
        sliders.SetSliderForceShowFocus(s, band == selected_);
    }
}

void ResponseGraph::ResetFade() {
    fade_phase_ = kFadeBand;
    fade_level_ = kFadeLevelMax;
}

bool ResponseGraph::FadeTick() {
    bool keepRunning = true;
    if (fade_phase_ == kFadeSum) {
        ++fade_level_;
        if (fade_level_ > 4) {
            fade_level_ = kFadeLevelMax;
            keepRunning = false;
        }
    } else if (fade_level_ <= 0) {
        fade_phase_ = kFadeSum;
        fade_level_ = 0;
    } else {
        --fade_level_;
    }
    Compose();
    return keepRunning;
}

bool ResponseGraph::BlinkTick() {
    if (blink_counter_ <= 0) return false;
    if (++blink_counter_ <= 4) return false;
    blink_counter_ = 1;
    blink_big_ = !blink_big_;
    Compose();
    return true;
}

void ResponseGraph::ReleaseGraphics() {
    back_ = QImage();
    curve_ = QImage();
    front_ = QImage();
}

int ResponseGraph::TakePaintCount() {
    const int n = paint_count_;
    paint_count_ = 0;
    return n;
}

}  // namespace vellora::graph
