// What the parts of the link share about it: up or down and which device answered, the
// start-sync request, the silence count, the device's current mode, closing, unsaved changes.
// Each fact changes only through its own operation; parts that react to up and down listen.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vellora::protocol {

/// Why the link went down.
enum class LinkLoss : uint8_t {
    NoReply,       ///< a command stayed unanswered after all its transmissions
    TooSlow,       ///< the device answers later than the reply time-out
    Silence,       ///< more than 5 s without a keep-alive byte from the device
    Closing,       ///< the program closed while a command waited
    SwitchedOff,   ///< the user switched linking off with the link switch
    IndicatorOff,  ///< the user switched linking off with the link indicator
};

class LinkListener {
public:
    virtual ~LinkListener() = default;
    /// The device identified itself; the link is up.
    virtual void LinkCameUp() {}
    /// The link is down now; `wasUp` is false when it was down already.
    virtual void LinkLost(LinkLoss /*why*/, bool /*wasUp*/) {}
};

class LinkState {
public:
    // ---- up and down ----

    [[nodiscard]] bool LinkUp() const { return up_; }
    /// Receive parser: the device identified itself with `tag` (its 8 bytes) while the link
    /// was down: the link is up, the variant letter and the tag are kept, and a
    /// synchronisation is requested.
    void Identified(std::span<const uint8_t> tag);
    /// The link goes down (the channel, the link supervision). Listeners hear of every call.
    void Lose(LinkLoss why);
    /// The identification tag ("TR-W48" + variant + "_"); empty before the first one.
    [[nodiscard]] const std::string& DeviceTag() const { return tag_; }
    /// The device identified itself with the variant letter 'B'.
    [[nodiscard]] bool VariantB() const { return variant_b_; }

    /// Set by every identification; the synchronisation at link-up clears it when it starts.
    [[nodiscard]] bool StartSyncRequested() const { return start_sync_; }
    void ClearStartSyncRequest() { start_sync_ = false; }

    /// Link ticks since the device's last keep-alive byte: the parser resets the count, the
    /// link tick counts.
    [[nodiscard]] int32_t SilenceTicks() const { return silence_ticks_; }
    void ResetSilence() { silence_ticks_ = 0; }
    int32_t CountSilentTick() { return ++silence_ticks_; }

    // ---- what the terminal knows of the device ----

    /// The device's current mode, 0-based; written when the device was asked for it.
    [[nodiscard]] int32_t CurrentMode() const { return current_mode_; }
    void SetCurrentMode(int32_t mode) { current_mode_ = mode; }

    /// An edit was recorded (the editor) since the last answered SaveToMode (the channel);
    /// switching the link off then asks whether to save.
    [[nodiscard]] bool Modified() const { return modified_; }
    void MarkModified() { modified_ = true; }
    void ClearModified() { modified_ = false; }

    // ---- closing ----

    /// The program is closing (set by the exit, cleared when the editor opens again): waits
    /// end at once, nothing more is sent, the time-out message is not shown.
    [[nodiscard]] bool Closing() const { return closing_; }
    void SetClosing(bool closing) { closing_ = closing; }

    /// `listener` must outlive the state or be removed first.
    void AddListener(LinkListener& listener);
    void RemoveListener(LinkListener& listener);

private:
    bool up_ = false;
    std::string tag_;
    bool variant_b_ = false;
    bool start_sync_ = false;
    int32_t silence_ticks_ = 0;
    int32_t current_mode_ = 0;
    bool modified_ = false;
    bool closing_ = false;
    std::vector<LinkListener*> listeners_;
};

}  // namespace vellora::protocol
