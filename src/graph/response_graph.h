// The response graph of the current page: band list, curves and their sum on a logarithmic
// grid, drawn in three off-screen layers (background, unselected curves, finished picture).
// Timers belong to the host: it calls FadeTick and BlinkTick and paints FrontLayer.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>

#include <functional>
#include <vector>

#include "graph/curve_band.h"
#include "graph/curve_list_builder.h"
#include "graph/graph_geometry.h"
#include "graph/response_table.h"
#include "graph/slider_host.h"
#include "model/workspace.h"

class QPainter;

namespace vellora::graph {

class PictureStore;

/// FadePhase values.
inline constexpr int kFadeBand = 0;  ///< the selected band's fill fades out
inline constexpr int kFadeSum = -1;  ///< the sum's fill fades in
inline constexpr int kFadeLevelMax = 5;

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

    void DrawCurveLayer();
    /// Draws FrontLayer from CurveLayer, then tells the frame sink.
    void Compose();
    /// Copies FrontLayer unchanged (the window's paint event).
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
    [[nodiscard]] bool HasGraphics() const { return !front_.isNull(); }

    [[nodiscard]] const QImage& BackLayer() const { return back_; }
    [[nodiscard]] const QImage& CurveLayer() const { return curve_; }
    [[nodiscard]] const QImage& FrontLayer() const { return front_; }

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
    void DrawBackLayer();
    void DrawHandles(QPainter& p, int& labelX, int& labelY, bool& selectedDrawn);
    void DrawLabels(QPainter& p, int xs, int y);
    QImage MakeLayer() const;

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
    QImage back_;
    QImage curve_;
    QImage front_;
    std::function<void()> frame_sink_;
    int paint_count_ = 0;
    std::vector<QPointF> points_;   // reused curve buffers
    std::vector<QPointF> shifted_;
};

}  // namespace vellora::graph
