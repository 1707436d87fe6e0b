// The response graph of the current page: band list, curves and their sum on a logarithmic
// grid. The background is kept packed; one image holds the unselected curves over it and,
// drawn over them with the pixels underneath kept aside, the composed picture. Timers belong
// to the host: it calls FadeTick and BlinkTick and paints with Repaint.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "graph/curve_band.h"
#include "graph/curve_list_builder.h"
#include "graph/curve_raster.h"
#include "graph/graph_geometry.h"
#include "graph/packed_layer.h"
#include "graph/response_table.h"
#include "graph/saved_pixels.h"
#include "graph/slider_host.h"
#include "model/workspace.h"

class QPainter;

namespace vellora::graph {

class PictureStore;

/// FadePhase values.
inline constexpr int kFadeBand = 0;  ///< the selected band's fill fades out
inline constexpr int kFadeSum = -1;  ///< the sum's fill fades in
inline constexpr int kFadeLevelMax = 5;

/// A band's settings in the texts of its value label: an equaliser band shows all three, a
/// filter its frequency alone, or "OFF" while it sits at either end of the frequency table.
struct BandReadout {
    QString Freq;      ///< Hz in the shortest decimal form: "19.7", "1000", "20220"
    QString Gain;      ///< dB with one decimal: "-3.5"; empty for a filter
    QString Q;         ///< two decimals, the slope for a shelf: "1.00"; empty for a filter
    bool Off = false;  ///< a filter switched off
};
[[nodiscard]] BandReadout ReadoutOf(const CurveBand& band);

class ResponseGraph {
public:
    /// Reads the store of `ws` and draws pictures of `pictures` (both outlive the graph).
    /// RegisterGraphPictures must have been called on the store.
    ResponseGraph(const model::Workspace& ws, PictureStore& pictures);

    /// Inner size of the graph in logical pixels and the screen's pixel density. On a new size
    /// the layers, the grid and BackLayer are made again; returns false when nothing changed.
    bool SetupGeometry(int w, int h, qreal devicePixelRatio = 1.0);
    [[nodiscard]] const GraphGeometry& Geometry() const { return geometry_; }

    /// Rebuilds the band list for `view`, recomputes every curve and the sum, redraws
    /// CurveLayer; SelectedBand 0, fade at phase 0 level 5. The host stops its graph timers
    /// first and, unless quiet, starts its no-operation and paint timers afterwards.
    void RedrawAll(const GraphView& view, SliderHost* sliders);
    /// Rebuilds only the band list (binding the sliders) for the stored view.
    void BuildCurveList(SliderHost* sliders);
    [[nodiscard]] const GraphView& View() const { return view_; }

    /// The band list; the editing code changes bands in place and then recomputes them.
    [[nodiscard]] CurveList& Bands() { return list_; }
    [[nodiscard]] const CurveList& Bands() const { return list_; }
    [[nodiscard]] const ResponseTable& Table() const { return table_; }
    /// Recomputes one band's column (position 0..CurveCount-1) and the sum.
    void ComputeBandCurve(int position);
    void ComputeSum();

    [[nodiscard]] int SelectedBand() const { return selected_; }
    /// Selects a position (0..16); a new selection redraws CurveLayer.
    void SetSelectedBand(int position);

    /// Brings CurveLayer up to date with the band list, the columns and the selection; only
    /// the columns around curves that changed since the last call are redrawn.
    void DrawCurveLayer();
    /// Draws FrontLayer: the selected band, the sum, fills, handles, labels and banner over
    /// CurveLayer (only the pixels the previous picture covered are put back first), then
    /// tells the frame sink.
    void Compose();
    /// Copies FrontLayer unchanged, top-left at `at` (the window's paint event). After a
    /// change of CurveLayer without Compose, the last composed picture is put over it again.
    void Repaint(QPainter& painter, QPoint at = QPoint(0, 0)) const;
    /// Sets ForceShowFocus of every band slider of the page: on for the selected band.
    void HighlightSliders(SliderHost& sliders) const;

    /// Fade state: phase 0 (band fill fading out) or -1 (sum fill fading in), level 0..5.
    [[nodiscard]] int FadePhase() const { return fade_phase_; }
    [[nodiscard]] int FadeLevel() const { return fade_level_; }
    void ResetFade();
    /// One tick of the fade timer (70 ms); composes. Returns false when the timer should stop.
    [[nodiscard]] bool FadeTick();
    /// One link base tick (50 ms): every fourth tick flips the selected handle's size and
    /// composes. Returns whether it composed.
    bool BlinkTick();
    [[nodiscard]] int BlinkCounter() const { return blink_counter_; }
    [[nodiscard]] bool BlinkBig() const { return blink_big_; }

    /// Frees the layers (the graph draws nothing until the next SetupGeometry).
    void ReleaseGraphics();
    [[nodiscard]] bool HasGraphics() const { return !layer_.isNull(); }

    /// The layers as images of the graph's size (Format_ARGB32_Premultiplied), each call a
    /// new copy: for tests and tools, not for painting.
    [[nodiscard]] QImage BackLayer() const { return back_.Unpack(); }
    [[nodiscard]] QImage CurveLayer() const;
    [[nodiscard]] QImage FrontLayer() const;
    /// Bytes held by the graph's images: the picture, the packed background and the pixels
    /// kept under the composed picture.
    [[nodiscard]] int64_t LayerBytes() const;

    /// Called after every Compose (the window schedules its paint).
    void SetFrameSink(std::function<void()> sink) { frame_sink_ = std::move(sink); }
    /// Composes since the last call (the paint-rate display); resets the count.
    int TakePaintCount();

    /// Where the handle of a position is drawn (centre, logical pixels): x to the nearest
    /// whole number, y of the gain (EQ band) or of 0 dB (filter).
    [[nodiscard]] QPoint HandleCentre(int position) const;
    /// The plot panel, 10 Hz .. 22000 Hz by +16 .. -27 dB; curves and fills are cut to it.
    [[nodiscard]] QRect PlotRect() const;

private:
    struct HandleDraw {
        int Picture = 0;
        QRect Target;  // logical; top-left only unless Scaled
        bool Scaled = false;
    };
    struct LabelDraw {
        QPoint At;
        QString Text;
    };
    // What Compose took: curves in device pixels, the rest in logical pixels.
    struct Frame {
        bool Valid = false;
        bool HasBand = false;
        QRgb BandFill = 0;  // premultiplied; 0: no fill
        QRgb BandLine = 0;
        std::vector<float> Band;
        std::vector<float> BandOutline;  // the fill's edge: ends moved to 0 dB
        QRgb SumFill = 0;
        QRgb SumLine = 0;
        std::vector<float> Sum;
        std::vector<float> SumOutline;
        std::vector<HandleDraw> Handles;
        std::vector<LabelDraw> Labels;
        QRect Plate;
        bool Bypass = false;
        QPoint BypassAt;
    };
    // A curve as drawn on the layer, in device pixels.
    struct DrawnCurve {
        bool Shown = false;
        std::vector<float> Ys;
    };

    void DrawBackLayer();
    void ComposeHandles(int& labelX, int& labelY, bool& selectedDrawn);
    void ComposeLabels(int xs, int y);
    QImage MakeLayer() const;
    void ForgetDrawnCurves();
    [[nodiscard]] CurveSamples DeviceCurve(const std::vector<float>& ys) const;
    void DeviceYs(std::span<const float> db, std::vector<float>& out) const;
    [[nodiscard]] QRect DevicePlotRect() const;
    [[nodiscard]] QRect DeviceRect(const QRect& logical) const;
    // Draws frame_ over the layer, keeping the pixels it covers; no-op when already drawn.
    void ApplyFrame() const;
    // Takes the drawn frame off the layer; the fill stays when asked (Compose changes it in
    // place).
    void RemoveFrame(bool keepFill) const;

    const model::Workspace& ws_;
    PictureStore& pictures_;
    GraphGeometry geometry_;
    qreal dpr_ = 1.0;
    bool has_geometry_ = false;
    GraphView view_;
    CurveList list_;
    ResponseTable table_;
    int selected_ = 0;
    int fade_phase_ = kFadeBand;
    int fade_level_ = kFadeLevelMax;
    int blink_counter_ = 0;
    bool blink_big_ = false;
    PackedLayer back_;
    Frame frame_;
    // Background, unselected curves and, while frame_applied_, frame_ over them. Repaint
    // draws the frame again after a change of the curves, hence mutable.
    mutable QImage layer_;
    mutable SavedPixels under_;  // the layer's pixels under the drawn frame, but for...
    mutable SavedFill fill_;     // ...its fill, at the bottom of it
    mutable bool frame_applied_ = false;
    std::array<DrawnCurve, kMaxBands> drawn_;   // what the layer holds
    std::array<DrawnCurve, kMaxBands> wanted_;  // reused by DrawCurveLayer
    ColumnSpans spans_;                         // reused by DrawCurveLayer
    mutable ColumnSpans frame_spans_;           // reused by ApplyFrame
    mutable ColumnSpans fill_spans_;            // the pixels of the drawn fill
    mutable std::vector<ColumnSpans::Run> frame_runs_;
    std::function<void()> frame_sink_;
    int paint_count_ = 0;
};

}  // namespace vellora::graph
