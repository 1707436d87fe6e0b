// Faults the simulated processor can be told to show, for the terminal's tests: silence,
// late answers, a device that stops answering, damaged replies, no keep-alive, unplugging.
#pragma once

#include <string>
#include <string_view>

namespace vellora::device {

struct FaultPlan {
    static constexpr int kNever = -1;   ///< for the frame counts: the fault never happens
    static constexpr int kAlways = -1;  ///< for BadChecksumReplies: every reply

    /// Answers no frame at all (the frames are not acted on either).
    bool Silent = false;
    /// A frame is acted on and answered only at its k-th transmission in a row (1 = at once);
    /// the count starts again after each answer and whenever a different frame arrives.
    int AnswerFromTransmission = 1;
    /// Answers this many frames (counted from when the plan was set), then none (kNever: no
    /// limit). Frames after the limit are not acted on.
    int StopAfterFrames = kNever;
    /// The next N replies carry a wrong checksum (kAlways: all; 0: none). The frames are
    /// acted on; only their answers are damaged.
    int BadChecksumReplies = 0;
    /// Sends no keep-alive byte of its own and echoes none of the terminal's.
    bool NoKeepAlive = false;
    /// After this many answered frames (counted from when the plan was set) the device is
    /// unplugged once, right after that answer has gone out (kNever: never).
    int UnplugAfterFrames = kNever;
    /// Block replies (reads of commands 1 and 11) carry this many bytes more (> 0, zero
    /// bytes appended) or fewer (< 0, cut from the end) than the block has.
    int BlockLengthError = 0;
    /// Answers the link search frame with this tag instead of "TR-W48" + variant + "_"
    /// (at most 8 bytes, all below 253); empty = the normal tag.
    std::string TagOverride;

    friend bool operator==(const FaultPlan&, const FaultPlan&) = default;
};

struct FaultParse {
    bool Ok = true;
    std::string Message;  ///< English, naming the accepted forms; empty when Ok
};

/// Applies one fault text to `plan`: "silent", "answer-from=K" (K >= 1), "stop-after=N"
/// (N >= 0), "bad-checksum" or "bad-checksum=N", "no-keepalive", "unplug-after=N" (N >= 0),
/// "block-length=D" (D in -200..200, not 0), "tag=TEXT" (1..8 ASCII characters). A text
/// may hold several of them separated by commas. On an error `plan` is unchanged.
[[nodiscard]] FaultParse ApplyFaultText(std::string_view text, FaultPlan& plan);

/// The lines that describe the fault texts, for a --help output.
[[nodiscard]] std::string FaultHelpText();

}  // namespace vellora::device
