// Collects the drawable bands of one page from the parameter store: equaliser bands first,
// then high-pass and low-pass filters, and binds each band to its slider.
#pragma once

#include "graph/curve_band.h"
#include "graph/slider_host.h"
#include "model/workspace.h"

namespace vellora::graph {

/// What the graph shows: a page (menu kind 0..10), a scene slot (0 or 1) and, on the
/// effects page, its sub-page (0 echo, 1 reverb, 2 effect).
struct GraphView {
    int Page = 0;
    int Scene = 0;
    int EffectView = 0;
    friend bool operator==(const GraphView&, const GraphView&) = default;
};

/// The page whose range is narrowed by the effect view.
inline constexpr int kEffectsPage = 3;

/// The store range the graph reads for a view; first > last when there is none.
struct EntryRange {
    int first = 0;
    int last = -1;
};
[[nodiscard]] EntryRange GraphRange(const model::Workspace& ws, const GraphView& view);

/// The ParamIndex of the bypass switch of the view's page (2582 + page; on the effects page
/// 2599, 2600 or 2585 by the effect view); -1 for a page without one.
[[nodiscard]] int BypassEntry(const GraphView& view);

/// Builds the list for the view. `sliders` may be null (no sliders are bound then).
[[nodiscard]] CurveList BuildCurveList(const model::Workspace& ws, const GraphView& view,
                                       SliderHost* sliders);

}  // namespace vellora::graph
