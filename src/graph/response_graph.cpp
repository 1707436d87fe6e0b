// Drawing of the response graph: the background with its grid, the layer of the unselected
// curves, and the picture painted over it: the selected band, the sum, the handles, the value
// labels and the bypass banner.
#include "graph/response_graph.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "graph/graph_palette.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "model/value_scales.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define VELLORA_X86_VECTOR_STATE 1
#endif

namespace vellora::graph {

namespace {

#ifdef VELLORA_X86_VECTOR_STATE
__attribute__((target("avx"))) void ZeroUpperVectorHalves() {
    _mm256_zeroupper();
}
#endif

// Code outside the graph (seen in the windowing system's start-up) may leave the upper halves
// of the 256-bit vector registers in use. The curve math, which calls the maths library for
// every point, then pays a state transition on each call: twenty times its own cost. Clearing
// them before the math costs next to nothing.
void ClearUpperVectorState() {
#ifdef VELLORA_X86_VECTOR_STATE
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) ZeroUpperVectorHalves();
#endif
}

QColor ToQColor(Argb c) {
    return QColor(c.r, c.g, c.b, c.a);
}

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
constexpr AxisLabel kAxisLabels[] = {{20.0f, "20Hz", -14},
                                     {100.0f, "100Hz", -14},
                                     {1000.0f, "1KHz", -14},
                                     {10000.0f, "10KHz", -14},
                                     {20000.0f, "20KHz", -16}};

}  // namespace

BandReadout ReadoutOf(const CurveBand& band) {
    BandReadout r;
    r.Freq = FreqText(band.Freq);
    if (band.IsEq()) {
        r.Gain = QString::fromStdString(model::GainText(band.GainOrType));
        r.Q = QString::fromStdString(model::QText(band.QType != 0 ? band.ShelfQ : band.Q));
        return r;
    }
    static const int lowOff = model::FreqIndex(10);
    static const int highOff = model::FreqIndex(20220);
    r.Off = band.Freq == lowOff || band.Freq == highOff;
    return r;
}

ResponseGraph::ResponseGraph(const model::Workspace& ws, PictureStore& pictures)
    : ws_(ws), pictures_(pictures) {
    for (int i = 0; i < kMaxBands; ++i)
        list_.Bands[static_cast<size_t>(i)].Column = static_cast<uint8_t>(i);
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
    ClearUpperVectorState();
    table_.PrepareGrid(geometry_.GridFrequencies());
    for (int i = 0; i < list_.CurveCount; ++i)
        table_.ComputeBandCurve(list_.Bands[static_cast<size_t>(i)], view_.Page);
    table_.ComputeSum(list_.CurveCount);

    // The background is drawn into the layer, packed, and the curves go over it.
    layer_ = QImage();
    layer_ = MakeLayer();
    frame_.Valid = false;
    frame_applied_ = false;
    under_.Release();
    fill_.Release();
    DrawBackLayer();
    back_.Pack(layer_);
    ForgetDrawnCurves();
    DrawCurveLayer();
    return true;
}

void ResponseGraph::DrawBackLayer() {
    const GraphGeometry& g = geometry_;
    QPainter p(&layer_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(0, 0, g.Width(), g.Height()), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    pictures_.Paint(p, kPicGraphBackground, QRect(0, 0, g.Width(), g.Height()));

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

void ResponseGraph::BuildCurveList(SliderHost* sliders) {
    list_ = graph::BuildCurveList(ws_, view_, sliders);
}

void ResponseGraph::RedrawAll(const GraphView& view, SliderHost* sliders) {
    view_ = view;
    ResetFade();
    BuildCurveList(sliders);
    selected_ = 0;
    ClearUpperVectorState();
    for (int i = 0; i < list_.CurveCount; ++i)
        table_.ComputeBandCurve(list_.Bands[static_cast<size_t>(i)], view_.Page);
    DrawCurveLayer();
    ComputeSum();
}

void ResponseGraph::ComputeBandCurve(int position) {
    const CurveBand* band = list_.At(position);
    if (!band) return;
    ClearUpperVectorState();
    table_.ComputeBandCurve(*band, view_.Page);
}

void ResponseGraph::ComputeSum() {
    ClearUpperVectorState();
    table_.ComputeSum(list_.CurveCount);
}

void ResponseGraph::SetSelectedBand(int position) {
    position = std::clamp(position, 0, kMaxBands - 1);
    if (position == selected_) return;
    selected_ = position;
    DrawCurveLayer();
}

namespace {

// Curves run through pixel centres, so that a flat line covers exactly one pixel row.
constexpr float kPixelCentre = 0.5f;

// The y of a curve point: non-finite values sit on 0 dB, and y is held far enough outside the
// picture that the visible part of every segment keeps its true slope.
float CurveY(const GraphGeometry& g, float db) {
    const float limit = 16.0f * static_cast<float>(g.Height());
    float y = g.DbToY(db);
    if (!std::isfinite(y)) y = static_cast<float>(g.Y0());
    return std::clamp(y, -limit, limit);
}

// The edge of a fill: the curve with its first and last point moved to 0 dB (device y).
void FillOutline(const std::vector<float>& ys, float y0, std::vector<float>& out) {
    out = ys;
    if (out.size() < 2) return;
    out.front() = y0;
    out.back() = y0;
}

QRgb Premultiplied(const QColor& c) {
    return qPremultiply(c.rgba());
}

// When the columns to redraw cover more than 1 / kWholeLayerRatio of the plot, putting back
// the whole background is as quick.
constexpr int64_t kWholeLayerRatio = 2;

}  // namespace

QRect ResponseGraph::DeviceRect(const QRect& logical) const {
    const int left = static_cast<int>(std::floor(logical.left() * dpr_));
    const int top = static_cast<int>(std::floor(logical.top() * dpr_));
    const int right = static_cast<int>(std::ceil((logical.right() + 1) * dpr_));
    const int bottom = static_cast<int>(std::ceil((logical.bottom() + 1) * dpr_));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QRect ResponseGraph::DevicePlotRect() const {
    const QRect r = PlotRect();
    const int left = static_cast<int>(std::lround(r.left() * dpr_));
    const int top = static_cast<int>(std::lround(r.top() * dpr_));
    const int right = static_cast<int>(std::lround((r.right() + 1) * dpr_));
    const int bottom = static_cast<int>(std::lround((r.bottom() + 1) * dpr_));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void ResponseGraph::DeviceYs(std::span<const float> db, std::vector<float>& out) const {
    const size_t n = std::min(db.size(), static_cast<size_t>(std::max(geometry_.GridPoints(), 0)));
    out.resize(n);
    const auto d = static_cast<float>(dpr_);
    for (size_t j = 0; j < n; ++j) out[j] = (CurveY(geometry_, db[j]) + kPixelCentre) * d;
}

CurveSamples ResponseGraph::DeviceCurve(const std::vector<float>& ys) const {
    return CurveSamples{static_cast<float>((kPlotLeft + kPixelCentre) * dpr_),
                        static_cast<float>(dpr_), ys};
}

void ResponseGraph::ForgetDrawnCurves() {
    for (DrawnCurve& d : drawn_) {
        d.Shown = false;
        d.Ys.clear();
    }
}

void ResponseGraph::DrawCurveLayer() {
    if (!HasGraphics()) return;
    bool anyShown = false;
    bool changed = false;
    for (int i = 0; i < kMaxBands; ++i) {
        DrawnCurve& want = wanted_[static_cast<size_t>(i)];
        const CurveBand* band = list_.At(i);
        want.Shown = band && i != selected_ && !band->EQdisabled;
        if (want.Shown) DeviceYs(table_.Column(band->Column), want.Ys);
        const DrawnCurve& have = drawn_[static_cast<size_t>(i)];
        anyShown |= have.Shown;
        changed |= want.Shown != have.Shown || (want.Shown && want.Ys != have.Ys);
    }
    if (!changed) return;
    RemoveFrame(false);

    const QRect clip = DevicePlotRect();
    const RasterTarget target = RasterTarget::Of(layer_, clip);
    const ColumnSpans* only = nullptr;
    if (anyShown) {
        // Put the background back where a changed curve was or will be, then draw every
        // curve again inside those columns, in order. When that is most of the plot, the
        // whole background is put back.
        spans_.Reset(clip.left(), clip.width());
        for (int i = 0; i < kMaxBands; ++i) {
            const DrawnCurve& want = wanted_[static_cast<size_t>(i)];
            const DrawnCurve& have = drawn_[static_cast<size_t>(i)];
            if (want.Shown == have.Shown && (!want.Shown || want.Ys == have.Ys)) continue;
            if (have.Shown) AddStrokeExtent(spans_, DeviceCurve(have.Ys), 1.0f, clip);
            if (want.Shown) AddStrokeExtent(spans_, DeviceCurve(want.Ys), 1.0f, clip);
        }
        const int64_t plot = static_cast<int64_t>(clip.width()) * clip.height();
        if (spans_.Area() * kWholeLayerRatio > plot) {
            back_.CopyTo(layer_);
        } else {
            back_.CopySpansTo(layer_, spans_);
            only = &spans_;
        }
    }
    for (int i = 0; i < kMaxBands; ++i) {
        const DrawnCurve& want = wanted_[static_cast<size_t>(i)];
        if (!want.Shown) continue;
        const QRgb colour = Premultiplied(BandCurveColour(i, kCurveAlpha));
        StrokeCurve(target, DeviceCurve(want.Ys), StrokeStyle{1.0f, colour}, only);
    }
    std::swap(drawn_, wanted_);
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

void ResponseGraph::ComposeHandles(int& labelX, int& labelY, bool& selectedDrawn) {
    std::vector<HandleDraw>& handles = frame_.Handles;
    handles.clear();
    selectedDrawn = false;
    int selectedT = -1;
    QPoint selectedAt;
    auto natural = [&](int picture, QPoint topLeft) {
        handles.push_back({picture, QRect(topLeft, pictures_.Size(picture)), false});
    };
    for (int j = 0; j < list_.CurveCount; ++j) {
        const CurveBand& band = list_.Bands[static_cast<size_t>(j)];
        const QPoint c = HandleCentre(j);
        const int t = HandleKind(band, j);
        if (!list_.Editable(j)) {
            natural(kPicDisabledHandle, c - QPoint(6, 6));
        } else if (j == selected_) {
            selectedT = t;  // drawn last, on top of its neighbours
            selectedAt = c;
        } else {
            natural(kPicHandle0 + t, c - QPoint(8, 8));
        }
    }
    if (selectedT < 0) return;
    if (blink_big_)
        handles.push_back({kPicSelectedHandle0 + selectedT,
                           QRect(selectedAt - QPoint(19, 19), QSize(40, 40)), true});
    else
        natural(kPicSelectedHandle0 + selectedT, selectedAt - QPoint(16, 16));
    selectedDrawn = true;
    labelX = selectedAt.x();
    labelY = selectedAt.y();
}

void ResponseGraph::ComposeLabels(int xs, int y) {
    const CurveBand* band = list_.At(selected_);
    if (!band) return;
    if (xs > geometry_.XR() - 80) xs -= 70;
    std::vector<LabelDraw>& labels = frame_.Labels;
    const BandReadout r = ReadoutOf(*band);
    static const int lowOff = model::FreqIndex(10);
    if (band->IsEq()) {
        labels.push_back({QPoint(xs + 15, y - 16), r.Freq + QStringLiteral("Hz")});
        labels.push_back({QPoint(xs + 15, y - 4), r.Gain + QStringLiteral("dB")});
        labels.push_back({QPoint(xs + 15, y + 8), r.Q + QStringLiteral(" Q")});
    } else if (!r.Off) {
        labels.push_back({QPoint(xs - 15, y - 22), r.Freq + QStringLiteral("Hz")});
    } else if (band->Freq == lowOff) {
        labels.push_back({QPoint(xs - 10, y - 22), QStringLiteral("OFF")});
    } else {
        labels.push_back({QPoint(xs + 60, y - 25), QStringLiteral("OFF")});
    }

    // A dark plate under the texts keeps them legible over the curves.
    const QFontMetrics metrics(PictureStore::UiFont());
    QRect plate;
    for (const LabelDraw& label : labels)
        plate |= QRect(label.At, QSize(metrics.horizontalAdvance(label.Text), metrics.height()));
    frame_.Plate = plate.adjusted(-4, -2, 4, 2);
}

void ResponseGraph::Compose() {
    if (!HasGraphics()) return;
    RemoveFrame(true);
    if (blink_counter_ == 0) blink_counter_ = 1;
    Frame& f = frame_;
    f.Valid = true;
    const float y0 = (static_cast<float>(geometry_.Y0()) + kPixelCentre) * static_cast<float>(dpr_);

    f.HasBand = false;
    if (const CurveBand* band = list_.At(selected_)) {
        f.HasBand = true;
        DeviceYs(table_.Column(band->Column), f.Band);
        f.BandFill = fade_phase_ == kFadeBand
                         ? Premultiplied(BandCurveColour(selected_, 13 * fade_level_))
                         : 0;
        f.BandLine = Premultiplied(BandCurveColour(selected_, kCurveAlpha));
        if (f.BandFill != 0) FillOutline(f.Band, y0, f.BandOutline);
    }
    DeviceYs(table_.SumCurve(), f.Sum);
    QColor sumFill = ToQColor(kSumFillColour);
    sumFill.setAlpha(fade_phase_ == kFadeSum ? 10 * fade_level_ : 0);
    f.SumFill = Premultiplied(sumFill);
    if (f.SumFill != 0) FillOutline(f.Sum, y0, f.SumOutline);
    f.SumLine = Premultiplied(ToQColor(list_.PageGreyed ? kSumGreyedColour : kSumColour));

    int xs = 0;
    int y = 0;
    bool selectedDrawn = false;
    ComposeHandles(xs, y, selectedDrawn);
    f.Labels.clear();
    if (!list_.PageGreyed && selectedDrawn) ComposeLabels(xs, y);

    const int bypass = BypassEntry(view_);
    f.Bypass = bypass >= 0 && ws_.ParamStore.ValueAt(bypass, 0) == 1;
    f.BypassAt = QPoint(model::RoundHalfEven(geometry_.Width() / 2.0 - 100.0),
                        model::RoundHalfEven(geometry_.Height() / 3.0));
    ApplyFrame();

    ++paint_count_;
    if (frame_sink_) frame_sink_();
}

void ResponseGraph::ApplyFrame() const {
    const Frame& f = frame_;
    if (!f.Valid || frame_applied_ || !HasGraphics()) return;
    under_.Clear();

    // Curves and fills, cut to the plot, in the order: the selected band's fill and line,
    // the sum's fill and line. Fills have no antialiasing: their edge lies under the curve.
    const QRect clip = DevicePlotRect();
    const RasterTarget target = RasterTarget::Of(layer_, clip);
    const float y0 = (static_cast<float>(geometry_.Y0()) + kPixelCentre) * static_cast<float>(dpr_);

    // At most one fill shows (the band's while it fades out, then the sum's). It lies under
    // everything else, is kept from picture to picture and only changed where it moved.
    const bool bandFill = f.HasBand && f.BandFill != 0;
    const bool sumFill = !bandFill && f.SumFill != 0;
    fill_spans_.Reset(clip.left(), clip.width());
    if (bandFill || sumFill)
        AddFillExtent(fill_spans_, DeviceCurve(bandFill ? f.BandOutline : f.SumOutline), y0, clip);
    fill_spans_.Runs(frame_runs_);
    fill_.Change(layer_, frame_runs_, bandFill ? f.BandFill : sumFill ? f.SumFill : 0);

    // The lines, each over the pixels kept just before it. The band's line belongs under the
    // sum's fill: inside it, it takes the colour that gives the same picture over the fill.
    const auto line = [&](const std::vector<float>& ys, const StrokeStyle& style) {
        frame_spans_.Reset(clip.left(), clip.width());
        AddStrokeExtent(frame_spans_, DeviceCurve(ys), style.Width, clip);
        under_.SaveColumns(layer_, frame_spans_);
        StrokeCurve(target, DeviceCurve(ys), style);
    };
    if (f.HasBand) {
        StrokeStyle band{1.0f, f.BandLine};
        if (sumFill) {
            band.Inside = &fill_spans_;
            band.InsideColour = UnderFill(f.BandLine, f.SumFill);
        }
        line(f.Band, band);
    }
    line(f.Sum, StrokeStyle{2.0f * static_cast<float>(dpr_), f.SumLine});

    // Pictures and texts, each over the pixels kept just before it.
    QPainter p(&layer_);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const HandleDraw& h : f.Handles) {
        under_.SaveRect(layer_, DeviceRect(h.Target).adjusted(-1, -1, 1, 1));
        if (h.Scaled)
            pictures_.DrawScaled(p, h.Picture, h.Target);
        else
            pictures_.Draw(p, h.Picture, h.Target.topLeft());
    }
    if (!f.Labels.empty()) {
        // The texts' boxes as they are laid out, and a margin for glyphs that reach past.
        const QFontMetrics metrics(PictureStore::UiFont());
        QRect area = f.Plate;
        for (const LabelDraw& label : f.Labels)
            area |=
                metrics.boundingRect(QRect(label.At, QSize(4096, 64)),
                                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, label.Text);
        under_.SaveRect(layer_, DeviceRect(area.adjusted(-2, -2, 2, 2)));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(8, 10, 14, 150));
        p.drawRoundedRect(QRectF(f.Plate), 3, 3);
        p.setBrush(Qt::NoBrush);
        const QColor colour = ToQColor(kBandLabelColour);
        for (const LabelDraw& label : f.Labels)
            PictureStore::DrawText(p, label.At, label.Text, colour);
    }
    if (f.Bypass) {
        const QRect banner(f.BypassAt, pictures_.Size(kPicBypassBanner));
        under_.SaveRect(layer_, DeviceRect(banner).adjusted(-1, -1, 1, 1));
        pictures_.Draw(p, kPicBypassBanner, f.BypassAt);
    }
    p.end();
    frame_applied_ = true;
    ClearUpperVectorState();  // text drawing may leave them in use
}

void ResponseGraph::RemoveFrame(bool keepFill) const {
    if (frame_applied_) {
        under_.RestoreTo(layer_);
        under_.Clear();
        frame_applied_ = false;
    }
    if (!keepFill) fill_.Remove(layer_);
}

void ResponseGraph::Repaint(QPainter& painter, QPoint at) const {
    if (!HasGraphics()) return;
    ApplyFrame();
    painter.drawImage(at, layer_);
}

QImage ResponseGraph::FrontLayer() const {
    if (!HasGraphics()) return {};
    ApplyFrame();
    return layer_.copy();
}

QImage ResponseGraph::CurveLayer() const {
    QImage image = layer_.copy();
    if (frame_applied_) under_.RestoreTo(image);
    fill_.RestoreTo(image);
    return image;
}

int64_t ResponseGraph::LayerBytes() const {
    return static_cast<int64_t>(layer_.sizeInBytes()) + back_.Bytes() + under_.Bytes() +
           fill_.Bytes();
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
    back_.Clear();
    layer_ = QImage();
    frame_.Valid = false;
    frame_applied_ = false;
    under_.Release();
    fill_.Release();
    ForgetDrawnCurves();
}

int ResponseGraph::TakePaintCount() {
    const int n = paint_count_;
    paint_count_ = 0;
    return n;
}

}  // namespace vellora::graph
