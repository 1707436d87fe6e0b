// frmEQ: the main editor window. One page of parameters at a time beside the response graph,
// the page tabs, the master sliders, the command keys and the link controls; every edit goes
// through the change dispatch to the store, the graph and the device.
#pragma once

#include <QString>
#include <QWidget>

#include <QPoint>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "controls/c_progress_bar.h"
#include "controls/control_context.h"
#include "controls/m_btn_flag.h"
#include "editor/change_dispatch.h"
#include "editor/control_set.h"
#include "editor/editor_link.h"
#include "editor/mode_commands.h"
#include "graph/graph_editor.h"
#include "graph/response_graph.h"
#include "model/clock.h"
#include "model/workspace.h"
#include "storage/undo_redo.h"

namespace vellora::editor {

class GraphPanel;
class PagePanel;
class TitleStrip;
class StripBar;

/// Everything the window is given; all of it outlives the window.
struct EditorContext {
    model::Workspace& ws;
    model::Clock& clock;
    graph::PictureStore& pictures;
    const controls::ControlLookSource& look;
    EditorLink& link;
    protocol::Prompts& prompts;
};

class FrmEQ : public QWidget,
              private DispatchHost,
              private ModeCommandHost,
              private storage::UndoObserver,
              private graph::GraphEditHost {
    Q_OBJECT

public:
    static constexpr std::int64_t kPaintRateMs = 1000;   ///< Timer1
    static constexpr std::int64_t kMoveWindowMs = 150;   ///< tmrMoveWindow
    static constexpr std::int64_t kNoOperationMs = 700;  ///< tmrNoOper
    static constexpr std::int64_t kGradientMs = 70;      ///< tmrGradient
    static constexpr std::int64_t kToneResetMs = 500;    ///< timerToneReset
    static constexpr int kMasterStep = 1;
    static constexpr int kMasterTop = 80;                ///< q, w, e raise up to this

    explicit FrmEQ(const EditorContext& context, QWidget* parent = nullptr);
    ~FrmEQ() override;

    /// Start-up: size and place on `screen` (pixels), lay out the pages, the defaults, the
    /// bindings, page 0, an empty history and the window's timers. The link's timers start at
    /// the first show (first activation).
    void Load(QSize screen);

    // ---- pages ----
    /// cmdPage(i): shows page i (0..7).
    void SelectPage(int page);
    /// Command3(v): shows the effects page's view v (0..2).
    void SelectEffectView(int view);
    [[nodiscard]] int EffectView() const override { return effect_view_; }
    /// RefreshPage: every control of the shown page, the masters and the page's keys from the
    /// store, and the graph rebuilt.
    void RefreshPage() override;

    // ---- what the link shows on the window ----
    void ShowConnectStatus(int status);  ///< 0 not linked, 1 linked, 2 switched off
    void ShowSwitchCaption(std::string_view caption);
    /// `synchronising`: a synchronisation replaces the store with the device's settings.
    void BeginBulk(bool synchronising = false);
    void BulkProgress(int done, int total);
    void EndBulk();
    void ProgressStep();
    void SetMasterSliderLimits(const std::array<int32_t, 3>& limits);
    void ReloadAllControls();
    /// Entries edited while the link was down and kept across the last synchronisation.
    [[nodiscard]] const std::vector<int>& OfflineEdits() const { return offline_edits_; }
    void ClearUndoHistory();
    void ShowToneReset();
    void StopEditorTimers();
    /// Form_Unload: stops the timers, frees the graph's layers.
    void Unload();
    /// The status line: link state, device tag and variant, mode, simulated or not.
    void UpdateStatus();
    /// What the last scan of the port found, shown while the link is down ("" when nothing).
    void ShowDeviceState(const QString& text);

    // ---- for tests and the screenshot ----
    [[nodiscard]] ControlSet& Controls() { return *controls_; }
    [[nodiscard]] ChangeDispatch& Dispatch() { return *dispatch_; }
    [[nodiscard]] ModeCommands& Commands() { return *commands_; }
    [[nodiscard]] storage::UndoRedo& Undo() { return *undo_; }
    [[nodiscard]] graph::ResponseGraph& Graph() { return *graph_; }
    [[nodiscard]] controls::MBtnFlag* Key(const QString& name) const;
    [[nodiscard]] QString StatusText() const { return status_text_; }
    [[nodiscard]] int ShownPage() const;
    [[nodiscard]] bool Loaded() const { return loaded_; }
    /// q / a, w / s, e / d as Form_KeyPress handles them.
    void KeyPress(QChar key);
    /// One tick of the link (50 ms): the graph's selected handle blinks at its pace.
    void LinkTick();
    /// cmdTone's menu item k (0..10, "Key: -5" .. "Key: +5") chosen.
    void ChooseTone(int k);

    /// The mode folder in use and whether it is the per-user fallback (set at start-up).
    void SetModeFolder(const QString& path, bool fallback);
    [[nodiscard]] const QString& ModeFolder() const { return mode_folder_; }
    [[nodiscard]] bool ModeFolderIsFallback() const { return mode_folder_fallback_; }
    /// The key menu comes from the launcher when one is set; else the editor pops its own.
    void SetToneMenu(std::function<void(QPoint at)> pop) { tone_menu_ = std::move(pop); }
    /// Runs in every RefreshPage after the controls are reloaded, before the graph: the
    /// power-on settings window reloads its values there while it is open.
    void SetRefreshListener(std::function<void()> listener) {
        refresh_listener_ = std::move(listener);
    }

signals:
    /// The user asked to close the editor (the exit sequence runs first).
    void ExitRequested();
    /// cmdRecordPage: the recording window is to open, modally.
    void RecordWindowRequested();
    /// MBtnFlag2: the professional reverb window is to open, modally.
    void EffectWindowRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // DispatchHost
    graph::CurveList& Bands() override { return graph_->Bands(); }
    void RedrawBand(int position) override;
    void SetEffectWindowEnabled(bool on) override;
    // ModeCommandHost
    void ShowSceneKeys() override;
    void RedrawGraphSoon() override { RedrawGraph(); }
    const graph::CurveList& Bands() const override { return graph_->Bands(); }
    [[nodiscard]] int BypassIndex() const override;
    void SequenceStarted(int total) override;
    void SequenceProgress(int done) override;
    void SequenceEnded() override;
    [[nodiscard]] bool Closing() const override { return closing_; }
    // UndoObserver
    void UndoButtonsChanged(bool canUndo, bool canRedo) override;
    void SetEditorEnabled(bool enabled) override { setEnabled(enabled); }
    // GraphEditHost
    graph::SliderHost* Sliders() override;
    void StartNoOper() override { StartNoOperation(); }
    void StopFade() override;

    void BuildKeys();
    controls::MBtnFlag* MakeKey(QWidget* parent, const QString& name, const QString& pictures,
                                int actionType);
    void ChangePage();
    void LayoutEffectView();
    void RedrawGraph();
    void BindListBands();
    void StartNoOperation();
    void MoveWindowTick();
    void PaintRateTick();
    void LayoutParts();
    void PlaceSceneButtons();
    void PopToneMenu();
    void OfferOfflineEdits();

    EditorContext context_;
    controls::ControlContext control_context_;
    std::unique_ptr<graph::ResponseGraph> graph_;
    std::unique_ptr<ControlSet> controls_;
    std::unique_ptr<storage::UndoRedo> undo_;
    std::unique_ptr<ChangeDispatch> dispatch_;
    std::unique_ptr<ModeCommands> commands_;
    std::unique_ptr<graph::GraphEditor> graph_editor_;

    TitleStrip* title_ = nullptr;
    GraphPanel* graph_panel_ = nullptr;
    StripBar* strip_ = nullptr;
    QWidget* page_area_ = nullptr;
    QWidget* tab_column_ = nullptr;
    std::array<PagePanel*, kPageCount> pages_{};
    std::map<QString, controls::MBtnFlag*> keys_;
    controls::C_ProgressBar* progress_ = nullptr;

    model::RepeatingTimer paint_rate_;
    model::RepeatingTimer move_window_;
    model::RepeatingTimer gradient_;
    model::RepeatingTimer tone_reset_;
    model::TimerId no_operation_ = 0;
    bool no_operation_pending_ = false;

    int effect_view_ = 0;
    int connect_status_ = 0;
    QString status_text_;
    QString switch_caption_;
    QString device_state_;
    // Edits made while the link was down: the store when the link went, then, when the next
    // synchronisation starts, the entries that changed since and the store holding them.
    std::unique_ptr<model::ParamTable> offline_base_;
    std::unique_ptr<model::ParamTable> offline_store_;
    std::vector<int> offline_edits_;
    bool loaded_ = false;
    bool first_activation_done_ = false;
    bool unloaded_ = false;
    bool closing_ = false;
    QString mode_folder_;
    bool mode_folder_fallback_ = false;
    std::function<void(QPoint)> tone_menu_;
    std::function<void()> refresh_listener_;
};

}  // namespace vellora::editor
