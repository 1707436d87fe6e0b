// The editor's mode commands: the scene switch and the scene copy, the subwoofer auto control,
// the microphone copy, the page bypass and the equaliser reset. Each keeps its order of steps
// and its messages; device writes stop at the first failure.
#pragma once

#include <vector>

#include "editor/control_set.h"
#include "editor/editor_link.h"
#include "graph/curve_band.h"
#include "model/workspace.h"
#include "protocol/prompts.h"
#include "storage/undo_redo.h"

namespace vellora::editor {

namespace texts {
inline constexpr const char* kAutoControlBlocks = "超低音自动控制时, 唱歌模式不可以切换!";
inline constexpr const char* kCopyDanceToSinging = "确认要将当前劲舞模式数据复制到唱歌模式吗？";
inline constexpr const char* kCopySingingToDance = "确认要将当前唱歌模式数据复制到劲舞模式吗？";
inline constexpr const char* kCopyMic12To3 = "确认要将话筒1,2的设置复制到话筒3吗？";
inline constexpr const char* kCopyMic3To12 = "确认要将话筒3的设置复制到话筒1,2吗？";
inline constexpr const char* kDone = "完成!";
/// After a new synchronisation, when edits were made while the link was down.
inline constexpr const char* kOfflineEdits =
    "断开连接期间所做的修改尚未写入设备（共 %1 项）。是否现在写入设备？";
}  // namespace texts

/// What the commands need of the window.
class ModeCommandHost {
public:
    virtual ~ModeCommandHost() = default;
    /// RefreshPage of the shown page, the graph rebuilt.
    virtual void RefreshPage() = 0;
    /// The scene keys and the auto-control keys follow CurrentScene and BassAutoControl.
    virtual void ShowSceneKeys() = 0;
    /// The graph's delayed redraw (tmrDrawWave): shows the bypass banner when it is on.
    virtual void RedrawGraphSoon() = 0;
    /// The bands of the shown page (the reset walks its equaliser bands).
    virtual const graph::CurveList& Bands() const = 0;
    /// The page's bypass entry (2582 + page; 2599, 2600 or 2585 on the effects page).
    [[nodiscard]] virtual int BypassIndex() const = 0;
    /// A long sequence of writes starts (`total` frames) or ends: the window shows its
    /// progress bar and refuses other edits meanwhile.
    virtual void SequenceStarted(int total) = 0;
    virtual void SequenceProgress(int done) = 0;
    virtual void SequenceEnded() = 0;
    /// True once the window is closing: a running sequence stops after the current frame.
    [[nodiscard]] virtual bool Closing() const = 0;
};

class ModeCommands {
public:
    /// Sequences of more than this many writes show their progress.
    static constexpr int kProgressAfterWrites = 20;

    ModeCommands(model::Workspace& ws, storage::UndoRedo& undo, EditorLink& link,
                 protocol::Prompts& prompts, ModeCommandHost& host);

    /// cmdBassMode(i): selects the singing (0) or dance (1) scene.
    void SceneSwitch(int scene);
    /// cmdBassAutoControl / cmdBassAutoControl2: the subwoofer auto control on (1) or off.
    void AutoControl(int on);
    /// cmdModeCopy: copies the current scene into the other one.
    void SceneCopy();
    /// MBtnFlag3 on page 1 or 2: copies the page's microphone settings to the other page.
    void MicCopy(int page);
    /// cmdByPass with the button's value.
    void Bypass(int value);
    /// cmdReset: the page's equaliser bands back to the factory slot.
    void Reset();

private:
    /// Writes `entries` in order while the link is up; false at the first failed write (or
    /// when the window closes). Shows progress for long sequences.
    bool WriteAll(const std::vector<int>& entries);

    model::Workspace& ws_;
    storage::UndoRedo& undo_;
    EditorLink& link_;
    protocol::Prompts& prompts_;
    ModeCommandHost& host_;
};

}  // namespace vellora::editor
