// The value scales of the processor: frequency and Q tables, band-centre lists,
// gain and Q texts, and the clamps that keep an edited step in its legal range.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vellora::model {

inline constexpr int kFreqCount = 363;  ///< FreqTable indices 0..362
inline constexpr int kQCount = 101;     ///< QTable indices 0..100
inline constexpr int kFreqMax = kFreqCount - 1;
inline constexpr int kQMax = kQCount - 1;
inline constexpr int kGainZero = 250;   ///< gain step of 0.0 dB; one step is 0.1 dB
inline constexpr int kGainMin = 10;     ///< -24.0 dB
inline constexpr int kGainMax = 370;    ///< +12.0 dB
inline constexpr int kShelfQMax = 26;   ///< editable shelf slope index: 1.80

/// The source texts of the tables, exactly as the processor defines them.
extern const std::string_view kFreqTableText;
extern const std::string_view kQTableText;

/// The 363 band frequencies in Hz (single precision), index 0..362.
const std::array<float, kFreqCount>& FreqTable();
/// The 101 quality factors (single precision), index 0..100.
const std::array<float, kQCount>& QTable();

/// Frequency of a table index, with the index clamped into 0..362 first.
float FreqAt(int index);
/// Quality factor of a table index, with the index clamped into 0..100 first.
float QAt(int index);

/// Band-centre lists in Hz that seed equaliser sections.
enum class CentreList { Bands15, Bands10, Bands7, Bands5, Subwoofer5 };
std::span<const int> BandCentres(CentreList list);

/// First index i with hz <= FreqTable[i], compared in single precision; 362 above the table.
int FreqIndex(double hz);
/// First index i with q <= QTable[i], compared in single precision; 100 above the table.
int QIndex(double q);

/// Gain step as dB text with one decimal: 250 -> "0.0", 60 -> "-19.0".
std::string GainText(int step);
/// Text read as a number of dB, x 10 + 250, rounded half to even. Text that is not a
/// number reads as 0 dB (the whole text must be a number; surrounding blanks are allowed).
int GainStep(std::string_view text);
/// Parses a dB text; false when the text is not a finite number.
[[nodiscard]] bool ParseGainDb(std::string_view text, float& db);
/// QTable[index] with two decimals: 16 -> "1.00". The index is clamped into 0..100.
std::string QText(int index);

/// Rounds to the nearest integer, halves to the even neighbour; saturates at the int range.
int RoundHalfEven(double value);

/// Formats a value with a fixed number of decimals ("0.0" / "0.00" pictures), "-0.0" avoided.
std::string FormatFixed(double value, int decimals);

int GainClamp(int step);     ///< 10..370
int QClamp(int index);       ///< 0..100
int ShelfQClamp(int index);  ///< 0..26 (0.40 .. 1.80)
int StepUp(int step);        ///< +1, ceiling 100
int StepDown(int step);      ///< -1, floor 0
int FreqIndexClamp(int index);  ///< 0..362, for any index that reaches a table

/// Limits of a band frequency being stepped. `filterKind` is the FilterType of the band
/// (2 high-pass, 3 low-pass, others), `page` the menu kind shown; with `limited` false the
/// range is 1..361 whatever the kind.
int FreqClamp(int index, bool limited, int filterKind, int page);

}  // namespace vellora::model
