// The editor's pages as data: every control of the main window with its array, index,
// address text, form, value type, range, place and caption. One function builds the window
// from these rows; nothing here knows about widgets.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vellora::editor {

/// The control arrays of the main window; every control is one element of one array.
enum class ControlArray : uint8_t {
    MyScrollBar,  ///< sliders, band strips and the master sliders
    MyComboBox,   ///< lists
    MyBTN,        ///< flag buttons bound to a parameter (the subwoofer page's switches)
    MyMute,       ///< output-channel mutes, the ParamIndex in the address text
    SingleMute,   ///< the three mutes beside the master sliders (2593 + index)
    OptionFBX,    ///< the option group of the first microphone page (entry 277)
    OptionFBX2,   ///< the option group of the second microphone page (entry 2573)
};

/// Where a control sits. Band strips take their design rows (twips, scaled with the screen
/// density); the other regions are grids laid out by the window.
enum class Region : uint8_t {
    Strips,  ///< the page's row of band strips; Col is the strip's place in the row
    Side,    ///< the grid right of the band strips
    Bottom,  ///< the grid below the band strips
    Masters, ///< the master row above the pages, on every page
    Dialog,  ///< a control of the professional reverb window opened from the effects page
};

inline constexpr int kEveryPage = -1;
inline constexpr int kPageCount = 8;  ///< pages 0..7 show menu kinds 0..7
inline constexpr int kEffectsPage = 3;

struct ControlDecl {
    ControlArray Array;
    int Index;              ///< element index in its array
    int Page;               ///< 0..7, or kEveryPage
    std::string_view Tag;   ///< the address text ("EQ,1,1", "&HA10", ...); empty: unbound
    /// Slider: ScrollBarType; list: ShowType; button: ActionType.
    int Form = 0;
    int ValueType = 0;      ///< sliders only
    int MaxValue = 80;      ///< sliders only
    int HScrollSize = 0;    ///< horizontal sliders only
    Region Where = Region::Side;
    int Col = 0;
    int Row = 0;
    /// UTF-8 caption; for a parameter the name tables leave unnamed, empty (the window
    /// shows the parameter's address text instead of inventing a name).
    std::string_view Caption = {};
    int EffectView = -1;         ///< page 3's band strips: the view (0..2) that shows them
    std::string_view Pictures = {};  ///< buttons: PNGIndexStr
};

/// A row of band strips at its design place: strip i of the row (i = 0 ..) has its left edge
/// at Left + Pitch x i and its top at Top, in twips.
struct StripRow {
    int Page;
    int FirstIndex;  ///< MyScrollBar index of the row's first strip
    int Count;
    int Top;
    int Pitch;
    int Left;
};

/// Every control of the main window's pages and of the professional reverb window.
[[nodiscard]] std::span<const ControlDecl> PageControls();
/// The band-strip rows of pages 0..7 (page 3's three groups share one row).
[[nodiscard]] std::span<const StripRow> StripRows();
/// The row a band strip belongs to; nullptr for a control that is not a band strip.
[[nodiscard]] const StripRow* StripRowOf(const ControlDecl& decl);

/// The page buttons' captions: the menu kinds' names.
[[nodiscard]] std::string_view PageCaption(int page);

}  // namespace vellora::editor
