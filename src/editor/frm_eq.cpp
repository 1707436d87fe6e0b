// The main editor window: start-up, pages, the window's keys and timers, and what the link
// shows on it.
#include "editor/frm_eq.h"

#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QWindow>

#include <algorithm>

#include "editor/editor_panels.h"
#include "editor/editor_pictures.h"
#include "editor/page_layout.h"
#include "editor/window_geometry.h"
#include "graph/curve_list_builder.h"
#include "graph/picture_store.h"

namespace vellora::editor {

namespace {

constexpr int kTabColumnWidth = 56;
constexpr int kTabPitch = 34;
constexpr int kKeyGap = 4;
constexpr int kSceneTopRaised = 100 / kTwipsPerPixel;  // Top 100 twips on pages 1 and 3
constexpr int kActionSwitch = 0;
constexpr int kActionMomentary = 1;
constexpr int kActionClick = 2;
constexpr int kNoKeyShift = 5;

QString PictureList(int first, int count = 2) {
    QStringList numbers;
    for (int i = 0; i < count; ++i) numbers << QString::number(first + i);
    return numbers.join(QLatin1Char(','));
}

}  // namespace

FrmEQ::FrmEQ(const EditorContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      control_context_{context.clock, context.pictures, context.look},
      paint_rate_(context.clock, kPaintRateMs, [this] { PaintRateTick(); }),
      move_window_(context.clock, kMoveWindowMs, [this] { MoveWindowTick(); }),
      gradient_(context.clock, kGradientMs, [this] {
          if (!graph_->FadeTick()) gradient_.Stop();
      }),
      tone_reset_(context.clock, kToneResetMs, [this] {
          // Unlinked, a chosen key cannot reach the device: the key shows no shift again.
          tone_reset_.Stop();
          if (!context_.link.LinkUp()) ShowToneReset();
      }) {
    setWindowFlag(Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Vellora"));
    setMinimumSize(kMinWidth, kMinHeight);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Vellora"));
    if (!context.pictures.Has(pic::kTab0)) RegisterEditorPictures(context.pictures);

    graph_ = std::make_unique<graph::ResponseGraph>(context.ws, context.pictures);
    graph_->SetFrameSink([this] {
        if (graph_panel_) graph_panel_->FrameComposed();
    });
    controls_ = std::make_unique<ControlSet>(control_context_);
    undo_ = std::make_unique<storage::UndoRedo>(context.ws, context.clock,
                                                [this] { context_.link.MarkModified(); },
                                                static_cast<storage::UndoObserver*>(this));
    dispatch_ = std::make_unique<ChangeDispatch>(context.ws, *controls_, *undo_, context.link,
                                                 static_cast<DispatchHost&>(*this));
    commands_ = std::make_unique<ModeCommands>(context.ws, *undo_, context.link, context.prompts,
                                               static_cast<ModeCommandHost&>(*this));
    graph_editor_ = std::make_unique<graph::GraphEditor>(
        *graph_, context.ws, context.clock, *undo_, context.link,
        static_cast<graph::GraphEditHost&>(*this));

    title_ = new TitleStrip(this);
    graph_panel_ = new GraphPanel(*graph_, this);
    graph_panel_->SetEditor(graph_editor_.get());
    strip_ = new StripBar(this);
    page_area_ = new QWidget(this);
    tab_column_ = new QWidget(page_area_);
    for (int p = 0; p < kPageCount; ++p) {
        pages_[static_cast<size_t>(p)] = new PagePanel(p, page_area_);
        pages_[static_cast<size_t>(p)]->hide();
    }
    std::array<QWidget*, kPageCount> containers{};
    std::copy(pages_.begin(), pages_.end(), containers.begin());
    controls_->Build(containers, strip_);
    BuildKeys();
    progress_ = new controls::C_ProgressBar(title_);
    progress_->hide();
    graph_panel_->SetResized([this] { RedrawGraph(); });
    dispatch_->Connect();
}

FrmEQ::~FrmEQ() {
    // The graph's editing goes before the child widgets; a panel that loses the focus while
    // they are destroyed must not reach it.
    graph_panel_->SetEditor(nullptr);
    paint_rate_.Stop();
    move_window_.Stop();
    gradient_.Stop();
    tone_reset_.Stop();
    if (no_operation_pending_) context_.clock.Cancel(no_operation_);
}

namespace {

// What assistive technology and scripts call the window's own keys; their faces are pictures.
struct SpokenKey {
    const char* Key;
    const char* Name;
};
constexpr SpokenKey kSpokenKeys[] = {
    {"cmdUndo", "撤销"},          {"cmdRedo", "重做"},
    {"cmdTone", "变调"},          {"Command1", "联机开关"},
    {"cmdConnectStatus", "联机状态"}, {"cmdMinForm", "最小化"},
    {"cmdExit", "退出"},          {"MBtnFlag2", "专业设置"},
    {"MBtnFlag3", "话筒复制"},    {"cmdModeCopy", "场景复制"},
    {"cmdBassMode0", "唱歌"},     {"cmdBassMode1", "劲舞"},
    {"cmdBassAutoControl20", "超低自动关"}, {"cmdBassAutoControl21", "超低自动开"},
    {"cmdBassAutoControl", "超低自动"}, {"cmdByPass", "直通"},
    {"cmdReset", "复位"},         {"cmdRecordPage", "录音调节"},
};

QString SpokenName(const QString& key) {
    for (const SpokenKey& k : kSpokenKeys)
        if (key == QLatin1String(k.Key)) return QString::fromUtf8(k.Name);
    return key;
}

}  // namespace

controls::MBtnFlag* FrmEQ::MakeKey(QWidget* parent, const QString& name, const QString& pictures,
                                   int actionType) {
    controls::BtnFlagStored stored;
    stored.PNGIndexStr = pictures;
    stored.ActionType = actionType;
    auto* key = new controls::MBtnFlag(control_context_, stored, parent);
    key->setObjectName(name);
    key->SetAccessibleContext(SpokenName(name), QString());
    keys_[name] = key;
    return key;
}

controls::MBtnFlag* FrmEQ::Key(const QString& name) const {
    auto it = keys_.find(name);
    return it == keys_.end() ? nullptr : it->second;
}

void FrmEQ::BuildKeys() {
    // Page tabs down the left of the page area.
    for (int p = 0; p < kPageCount; ++p) {
        auto* tab = MakeKey(tab_column_, QStringLiteral("cmdPage%1").arg(p),
                            PictureList(pic::kTab0 + 2 * p), kActionClick);
        const std::string_view caption = PageCaption(p);
        tab->SetAccessibleContext(QString::fromUtf8(caption.data(), static_cast<int>(caption.size())),
                                  QString());
        tab->move(0, 4 + p * kTabPitch);
        connect(tab, &controls::MBtnFlag::Click, this, [this, p] { SelectPage(p); });
    }
    // The title strip's keys, laid out right to left by LayoutParts.
    auto* undo = MakeKey(title_, QStringLiteral("cmdUndo"), PictureList(pic::kUndo), kActionMomentary);
    connect(undo, &controls::MBtnFlag::Click, this, [this] {
        if (undo_->Undo(context_.link) != storage::UndoResult::NothingToDo) UpdateStatus();
    });
    auto* redo = MakeKey(title_, QStringLiteral("cmdRedo"), PictureList(pic::kRedo), kActionMomentary);
    connect(redo, &controls::MBtnFlag::Click, this, [this] {
        if (undo_->Redo(context_.link) != storage::UndoResult::NothingToDo) UpdateStatus();
    });
    auto* tone = MakeKey(title_, QStringLiteral("cmdTone"), PictureList(pic::kTone0, 11), kActionClick);
    tone->SetValue(kNoKeyShift);
    connect(tone, &controls::MBtnFlag::Click, this, [this] { PopToneMenu(); });
    MakeKey(title_, QStringLiteral("Command1"), PictureList(pic::kSwitchOn), kActionClick);
    connect(Key(QStringLiteral("Command1")), &controls::MBtnFlag::Click, this,
            [this] { context_.link.SwitchClick(); });
    MakeKey(title_, QStringLiteral("cmdConnectStatus"), QStringLiteral("361,362,359"), kActionClick);
    connect(Key(QStringLiteral("cmdConnectStatus")), &controls::MBtnFlag::Click, this,
            [this] { context_.link.IndicatorClick(); });
    auto* minimise = MakeKey(title_, QStringLiteral("cmdMinForm"), PictureList(pic::kMinimise),
                             kActionMomentary);
    // Inside the launcher's frame the frame is what minimises.
    connect(minimise, &controls::MBtnFlag::Click, this, [this] { window()->showMinimized(); });
    auto* exitKey = MakeKey(title_, QStringLiteral("cmdExit"), PictureList(pic::kExit),
                            kActionMomentary);
    connect(exitKey, &controls::MBtnFlag::Click, this, [this] {
        context_.link.Exit();
        emit ExitRequested();
    });

    // The effects page's view keys and its professional settings key.
    PagePanel* effects = pages_[kEffectsPage];
    const QString viewNames[3] = {QStringLiteral("Echo EQ"), QStringLiteral("Rev EQ"),
                                  QStringLiteral("EFF EQ")};
    for (int v = 0; v < 3; ++v) {
        auto* key = MakeKey(effects, QStringLiteral("Command3%1").arg(v),
                            PictureList(pic::kView0 + 2 * v), kActionClick);
        key->SetAccessibleContext(viewNames[v], QString::fromUtf8(PageCaption(kEffectsPage).data()));
        connect(key, &controls::MBtnFlag::Click, this, [this, v] { SelectEffectView(v); });
    }
    auto* effectKey = MakeKey(effects, QStringLiteral("MBtnFlag2"), PictureList(pic::kEffectWindow),
                              kActionClick);
    connect(effectKey, &controls::MBtnFlag::Click, this, [this, effectKey] {
        if (effectKey->Enabled()) emit EffectWindowRequested();
    });

    // Scene keys in the strip, at their distances from its right edge.
    auto* mic = MakeKey(strip_, QStringLiteral("MBtnFlag3"), PictureList(pic::kMicCopy), kActionMomentary);
    connect(mic, &controls::MBtnFlag::Click, this, [this] {
        const int page = context_.ws.CurrentPage();
        if (page == 1 || page == 2) commands_->MicCopy(page);
    });
    auto* copy = MakeKey(strip_, QStringLiteral("cmdModeCopy"), PictureList(pic::kModeCopy),
                         kActionMomentary);
    connect(copy, &controls::MBtnFlag::Click, this, [this] { commands_->SceneCopy(); });
    for (int scene = 0; scene < 2; ++scene) {
        auto* key = MakeKey(strip_, QStringLiteral("cmdBassMode%1").arg(scene),
                            PictureList(scene == 0 ? pic::kSinging : pic::kDance), kActionClick);
        connect(key, &controls::MBtnFlag::Click, this, [this, scene] { commands_->SceneSwitch(scene); });
        auto* autoKey = MakeKey(strip_, QStringLiteral("cmdBassAutoControl2%1").arg(scene),
                                PictureList(scene == 0 ? pic::kAutoOff : pic::kAutoOn), kActionClick);
        connect(autoKey, &controls::MBtnFlag::Click, this, [this, scene] { commands_->AutoControl(scene); });
    }
    // The single auto-control switch on the subwoofer page.
    auto* single = MakeKey(pages_[7], QStringLiteral("cmdBassAutoControl"), PictureList(pic::kAutoOn),
                           kActionSwitch);
    connect(single, &controls::MBtnFlag::Click, this,
            [this, single] { commands_->AutoControl(single->Value()); });
    // The page's bypass and reset, beside the history keys.
    auto* bypass = MakeKey(title_, QStringLiteral("cmdByPass"), PictureList(pic::kBypass), kActionSwitch);
    connect(bypass, &controls::MBtnFlag::Click, this, [this, bypass] { commands_->Bypass(bypass->Value()); });
    auto* reset = MakeKey(title_, QStringLiteral("cmdReset"), PictureList(pic::kReset), kActionMomentary);
    connect(reset, &controls::MBtnFlag::Click, this, [this] { commands_->Reset(); });
    auto* record = MakeKey(title_, QStringLiteral("cmdRecordPage"), PictureList(pic::kRecord),
                           kActionMomentary);
    connect(record, &controls::MBtnFlag::Click, this, [this] { emit RecordWindowRequested(); });
}

void FrmEQ::Load(QSize screen) {
    const Rect r = InitialWindowRect(screen.width(), screen.height());
    setGeometry(r.X, r.Y, r.W, r.H);
    context_.ws.LoadDefaults();
    controls_->BindControls();
    context_.ws.SetCurrentPage(0);
    undo_->ClearUndo();
    effect_view_ = 0;
    paint_rate_.Start();
    move_window_.Start();
    loaded_ = true;
    LayoutParts();
    UpdateStatus();
}

void FrmEQ::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (first_activation_done_ || !loaded_) return;
    first_activation_done_ = true;
    // StartPageInit: every control ready to draw, page 0 with its graph, then the link.
    for (const MadeControl& m : controls_->All()) m.Widget->BkGround_Init(false);
    for (auto& [name, key] : keys_) key->BkGround_Init(false);
    ShowSceneKeys();
    SelectPage(0);
    context_.link.StartTimers();
}

void FrmEQ::LayoutParts() {
    const EditorLayout l = LayoutFor(width(), height());
    title_->setGeometry(0, 0, width(), l.Title.H);
    graph_panel_->setGeometry(l.Graph.X, l.Graph.Y, l.Graph.W, l.Graph.H);
    strip_->setGeometry(l.Strip.X, l.Strip.Y, l.Strip.W, l.Strip.H);
    page_area_->setGeometry(l.Pages.X, l.Pages.Y, l.Pages.W, l.Pages.H);
    tab_column_->setGeometry(0, 0, kTabColumnWidth, l.Pages.H);
    for (PagePanel* page : pages_) {
        const Rect content = PageContentRect(page->Page());
        const int room = l.Pages.W - kTabColumnWidth;
        page->setGeometry(kTabColumnWidth, 0, room, l.Pages.H);
        // Narrower content is centred; its controls keep their places relative to it.
        const int shift = std::max(0, (room - content.W) / 2);
        for (const MadeControl& m : controls_->OnPage(page->Page())) {
            const Rect at = m.Decl->Where == Region::Strips
                                ? StripRect(*m.Decl, m.Widget->width(), m.Widget->height())
                                : ControlRect(*m.Decl, m.Widget->width(), m.Widget->height());
            m.Widget->move(at.X + shift, at.Y);
        }
        page->setContentsMargins(shift, 0, 0, 0);
    }
    // Effects page keys: the view keys and the professional settings key in the free cells.
    if (Key(QStringLiteral("Command30"))) {
        const int shift = pages_[kEffectsPage]->contentsMargins().left();
        const int y = StripsOf(kEffectsPage).Bottom + 4 + kCellHeight + kCaptionHeight;
        for (int v = 0; v < 3; ++v)
            Key(QStringLiteral("Command3%1").arg(v))
                ->move(shift + kGridMargin + 3 * kCellWidth + v * 60, y);
        Key(QStringLiteral("MBtnFlag2"))
            ->move(shift + kGridMargin + 4 * kCellWidth, y - kCellHeight);
    }
    if (auto* single = Key(QStringLiteral("cmdBassAutoControl")))
        single->move(pages_[7]->contentsMargins().left() + StripsOf(7).Right + 8 + 3 * kCellWidth,
                     kGridMargin + kCaptionHeight);
    // The title strip's keys from the right edge leftwards.
    int x = title_->width() - 6;
    const int keyTop = 3;
    for (const char* name : {"cmdExit", "cmdMinForm"}) {
        auto* key = Key(QString::fromLatin1(name));
        x -= key->width();
        key->move(x, keyTop);
        x -= 2;
    }
    x -= 44;
    title_->SetPaintRateLeft(x + 4);  // Command5, the paint rate
    for (const char* name : {"cmdConnectStatus", "Command1", "cmdTone", "cmdRecordPage", "cmdReset",
                             "cmdByPass", "cmdRedo", "cmdUndo"}) {
        auto* key = Key(QString::fromLatin1(name));
        x -= key->width() + kKeyGap;
        key->move(x, (title_->height() - key->height()) / 2);
    }
    title_->SetStatusRight(x - 8);
    progress_->setGeometry(title_->StatusLeft(), 8, std::max(60, x - title_->StatusLeft() - 8),
                           title_->height() - 16);
    PlaceSceneButtons();
}

void FrmEQ::PlaceSceneButtons() {
    const SceneButtonLefts b = SceneButtons(strip_->width());
    const int page = context_.ws.CurrentPage();
    const int top = (page == 1 || page == 3) ? kSceneTopRaised : 0;
    const int base = (strip_->height() - 24) / 2 - (kSceneTopRaised / 2);
    auto place = [&](const char* name, int left) {
        if (auto* key = Key(QString::fromLatin1(name))) key->move(left, base + top);
    };
    place("cmdBassAutoControl20", b.BassAutoOff);
    place("cmdBassAutoControl21", b.BassAutoOn);
    place("cmdBassMode0", b.Singing);
    place("cmdBassMode1", b.Dance);
    place("cmdModeCopy", b.ModeCopy);
    place("MBtnFlag3", b.MicCopy);
}

void FrmEQ::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isMinimized()) return;
    LayoutParts();
}

// ---- pages ----

int FrmEQ::ShownPage() const {
    for (const PagePanel* p : pages_)
        if (p->isVisible() || !p->isHidden()) return p->Page();
    return -1;
}

void FrmEQ::SelectPage(int page) {
    if (page < 0 || page >= kPageCount) return;
    for (int p = 0; p < kPageCount; ++p)
        Key(QStringLiteral("cmdPage%1").arg(p))->SetValue(p == page ? 1 : 0);
    context_.ws.SetCurrentPage(page);
    ChangePage();
}

void FrmEQ::ChangePage() {
    const int page = context_.ws.CurrentPage();
    // Every page exists at once: only which container shows changes.
    for (PagePanel* p : pages_) p->setVisible(p->Page() == page);
    if (page == kEffectsPage) LayoutEffectView();
    RefreshPage();
    if (auto* mic = Key(QStringLiteral("MBtnFlag3"))) mic->setVisible(page == 1 || page == 2);
    PlaceSceneButtons();
}

void FrmEQ::SelectEffectView(int view) {
    if (view < 0 || view > 2) return;
    effect_view_ = view;
    LayoutEffectView();
    RefreshPage();
}

void FrmEQ::LayoutEffectView() {
    for (int v = 0; v < 3; ++v)
        if (auto* key = Key(QStringLiteral("Command3%1").arg(v))) key->SetValue(v == effect_view_ ? 1 : 0);
    controls_->LayoutEffectView(effect_view_);
    const int shift = pages_[kEffectsPage]->contentsMargins().left();
    for (const MadeControl& m : controls_->OnPage(kEffectsPage))
        if (m.Decl->Where == Region::Strips && m.Decl->EffectView == effect_view_) {
            const Rect at = StripRect(*m.Decl, m.Widget->width(), m.Widget->height());
            m.Widget->move(at.X + shift, at.Y);
        }
}

void FrmEQ::RefreshPage() {
    const int page = context_.ws.CurrentPage();
    controls_->RefreshPage(context_.ws, page, context_.link.VariantB());
    if (auto* room = controls_->Combo(5)) SetEffectWindowEnabled(room->Value() == 0);
    if (auto* tone = Key(QStringLiteral("cmdTone")))
        tone->SetValue(context_.ws.ParamStore.ValueAt(model::entry::kKeyShift, 0));
    if (auto* bypass = Key(QStringLiteral("cmdByPass")))
        bypass->SetValue(context_.ws.ParamStore.ValueAt(BypassIndex(), 0));
    if (refresh_listener_) refresh_listener_();
    RedrawGraph();
}

void FrmEQ::RedrawGraph() {
    if (!loaded_ || graph_panel_->width() <= 0) return;
    gradient_.Stop();
    graph_->SetupGeometry(graph_panel_->width(), graph_panel_->height(), devicePixelRatioF());
    const graph::GraphView view{context_.ws.CurrentPage(), context_.ws.CurrentScene(),
                                effect_view_};
    graph_->RedrawAll(view, &controls_->SliderHost());
    BindListBands();
    graph_->Compose();
    StartNoOperation();
}

void FrmEQ::BindListBands() {
    // A crossover-type list drives the band of its filter pair.
    for (const MadeControl& m : controls_->All()) {
        if (m.Decl->Array != ControlArray::MyComboBox) continue;
        auto* list = static_cast<controls::MComboBox*>(m.Widget);
        if (m.Decl->Index == 5) {
            list->SetEQindex(QString::fromLatin1(kRevSelect));
            continue;
        }
        QString tag;
        const graph::CurveList& bands = graph_->Bands();
        for (int b = 0; b < bands.CurveCount; ++b)
            if (bands.Bands[static_cast<size_t>(b)].Paired &&
                bands.Bands[static_cast<size_t>(b)].ParamIndex == list->Addr())
                tag = QString::number(b);
        list->SetEQindex(tag);
    }
}

void FrmEQ::RedrawBand(int position) {
    // The band whose slider or list changed becomes the graph's selected band.
    graph_editor_->SelectBand(position);
}

void FrmEQ::StartNoOperation() {
    // After a quiet spell the selected band's fill fades and the sum's fades in.
    if (no_operation_pending_) context_.clock.Cancel(no_operation_);
    no_operation_pending_ = true;
    no_operation_ = context_.clock.CallAfter(kNoOperationMs, [this] {
        no_operation_pending_ = false;
        gradient_.Start();
    });
}

void FrmEQ::StopFade() {
    gradient_.Stop();
    if (no_operation_pending_) context_.clock.Cancel(no_operation_);
    no_operation_pending_ = false;
}

graph::SliderHost* FrmEQ::Sliders() {
    return &controls_->SliderHost();
}

void FrmEQ::SetEffectWindowEnabled(bool on) {
    if (auto* key = Key(QStringLiteral("MBtnFlag2"))) {
        key->SetEnabled(on);
        key->SetValue(on ? 0 : 1);
    }
}

void FrmEQ::UndoButtonsChanged(bool canUndo, bool canRedo) {
    if (auto* k = Key(QStringLiteral("cmdUndo"))) k->SetEnabled(canUndo);
    if (auto* k = Key(QStringLiteral("cmdRedo"))) k->SetEnabled(canRedo);
}

// ---- keys and timers ----

void FrmEQ::KeyPress(QChar key) {
    static constexpr struct {
        char up, down;
        int slider;
    } kMasters[] = {{'q', 'a', 0}, {'w', 's', 1}, {'e', 'd', 2}};
    for (const auto& m : kMasters) {
        const bool up = key == QLatin1Char(m.up);
        if (!up && key != QLatin1Char(m.down)) continue;
        controls::MScrollBar* s = controls_->Slider(m.slider);
        if (!s) return;
        const double v = s->Value();
        if (up && v < kMasterTop) s->SetValue(v + kMasterStep);
        else if (!up && v > 0) s->SetValue(v - kMasterStep);
        else return;
        dispatch_->SliderMoved(m.slider);
        return;
    }
}

void FrmEQ::LinkTick() {
    if (!unloaded_) graph_->BlinkTick();
}

void FrmEQ::SetModeFolder(const QString& path, bool fallback) {
    mode_folder_ = path;
    mode_folder_fallback_ = fallback;
}

void FrmEQ::PopToneMenu() {
    auto* tone = Key(QStringLiteral("cmdTone"));
    if (tone_menu_) {
        tone_menu_(tone->mapToGlobal(QPoint(0, tone->height())));
        return;
    }
    QMenu menu(this);
    for (int k = 0; k <= 10; ++k) {
        const QString caption = k == kNoKeyShift ? QStringLiteral("Key: 0")
                                : k < kNoKeyShift ? QStringLiteral("Key: -%1").arg(kNoKeyShift - k)
                                                  : QStringLiteral("Key: +%1").arg(k - kNoKeyShift);
        menu.addAction(caption)->setData(k);
    }
    const QAction* chosen = menu.exec(tone->mapToGlobal(QPoint(0, tone->height())));
    if (chosen) ChooseTone(chosen->data().toInt());
}

void FrmEQ::ChooseTone(int k) {
    if (k < 0 || k > 10) return;
    if (auto* tone = Key(QStringLiteral("cmdTone"))) tone->SetValue(k);
    if (context_.link.LinkUp()) {
        context_.ws.ParamStore.SetValueAt(model::entry::kKeyShift, 0, k);
        (void)context_.link.WriteParam(model::entry::kKeyShift);
    } else {
        tone_reset_.Start();
    }
}

void FrmEQ::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() == 1) KeyPress(text.at(0));
    QWidget::keyPressEvent(event);
}

void FrmEQ::mousePressEvent(QMouseEvent* event) {
    // A press on the window's own edge starts the system's sizing of that edge (inside a
    // frame, the frame's edges size it).
    if (!isWindow()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = mapToGlobal(event->position().toPoint());
    const Edge edge = EdgeAt({x(), y(), width(), height()}, at.x(), at.y());
    Qt::Edges edges;
    switch (edge) {
        case Edge::Left: edges = Qt::LeftEdge; break;
        case Edge::Right: edges = Qt::RightEdge; break;
        case Edge::Up: edges = Qt::TopEdge; break;
        case Edge::Down: edges = Qt::BottomEdge; break;
        case Edge::LeftUp: edges = Qt::LeftEdge | Qt::TopEdge; break;
        case Edge::RightUp: edges = Qt::RightEdge | Qt::TopEdge; break;
        case Edge::LeftDown: edges = Qt::LeftEdge | Qt::BottomEdge; break;
        case Edge::RightDown: edges = Qt::RightEdge | Qt::BottomEdge; break;
        case Edge::Move: break;
    }
    if (edges && event->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemResize(edges);
    QWidget::mousePressEvent(event);
}

void FrmEQ::MoveWindowTick() {
    if (!isVisible() || !isWindow()) return;
    const QPoint at = QCursor::pos();
    switch (EdgeAt({x(), y(), width(), height()}, at.x(), at.y())) {
        case Edge::LeftUp:
        case Edge::RightDown: setCursor(Qt::SizeFDiagCursor); break;
        case Edge::RightUp:
        case Edge::LeftDown: setCursor(Qt::SizeBDiagCursor); break;
        case Edge::Left:
        case Edge::Right: setCursor(Qt::SizeHorCursor); break;
        case Edge::Up:
        case Edge::Down: setCursor(Qt::SizeVerCursor); break;
        case Edge::Move: unsetCursor(); break;
    }
}

void FrmEQ::PaintRateTick() {
    const int paints = graph_->TakePaintCount();
    title_->SetPaintRate(QStringLiteral("%1Hz").arg(paints));
}

void FrmEQ::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(10, 12, 15));
}

void FrmEQ::closeEvent(QCloseEvent* event) {
    closing_ = true;  // a running sequence of writes stops after its current frame
    Unload();
    QWidget::closeEvent(event);
}

// ---- what the link shows ----

void FrmEQ::ShowConnectStatus(int status) {
    // The link went: remember the store, to tell later what was edited meanwhile.
    if (connect_status_ == 1 && status != 1 && !offline_base_)
        offline_base_ = std::make_unique<model::ParamTable>(context_.ws.ParamStore);
    connect_status_ = status;
    if (auto* k = Key(QStringLiteral("cmdConnectStatus"))) k->SetValue(status);
    UpdateStatus();
}

void FrmEQ::ShowSwitchCaption(std::string_view caption) {
    switch_caption_ = QString::fromUtf8(caption.data(), static_cast<int>(caption.size()));
    if (auto* k = Key(QStringLiteral("Command1")))
        k->SetValue(switch_caption_ == QStringLiteral("联机开启") ? 0 : 1);
}

void FrmEQ::BeginBulk(bool synchronising) {
    if (synchronising && offline_base_) {
        // The device's settings are about to replace the store: keep what was edited offline.
        offline_edits_.clear();
        for (int i = 0; i < model::kParamCount; ++i)
            if (*context_.ws.ParamStore.Record(i) != *offline_base_->Record(i)) offline_edits_.push_back(i);
        offline_store_ = offline_edits_.empty()
                             ? nullptr
                             : std::make_unique<model::ParamTable>(context_.ws.ParamStore);
        offline_base_.reset();
    }
    setEnabled(false);
    progress_->SetValue(0);
    progress_->show();
    progress_->raise();
}

void FrmEQ::BulkProgress(int done, int total) {
    progress_->SetMaxValue(std::max(1, total));
    progress_->SetValue(done);
}

void FrmEQ::EndBulk() {
    progress_->hide();
    setEnabled(true);
}

void FrmEQ::ProgressStep() {
    if (progress_->isVisible()) progress_->SetValue(progress_->Value() + 1);
}

void FrmEQ::SetMasterSliderLimits(const std::array<int32_t, 3>& limits) {
    for (int i = 0; i < 3; ++i)
        if (auto* s = controls_->Slider(i)) s->SetMaxValue(limits[static_cast<size_t>(i)]);
}

void FrmEQ::ShowSceneKeys() {
    const int scene = context_.ws.CurrentScene();
    // With the auto control on, neither scene is lit.
    const bool autoOn = context_.ws.BassAutoControl() == 1;
    if (auto* k = Key(QStringLiteral("cmdBassMode0"))) k->SetValue(!autoOn && scene == 0 ? 1 : 0);
    if (auto* k = Key(QStringLiteral("cmdBassMode1"))) k->SetValue(!autoOn && scene == 1 ? 1 : 0);
    if (auto* k = Key(QStringLiteral("cmdBassAutoControl20"))) k->SetValue(autoOn ? 0 : 1);
    if (auto* k = Key(QStringLiteral("cmdBassAutoControl21"))) k->SetValue(autoOn ? 1 : 0);
    if (auto* k = Key(QStringLiteral("cmdBassAutoControl"))) k->SetValue(autoOn ? 1 : 0);
}

int FrmEQ::BypassIndex() const {
    return graph::BypassEntry({context_.ws.CurrentPage(), context_.ws.CurrentScene(), effect_view_});
}

void FrmEQ::SequenceStarted(int total) {
    page_area_->setEnabled(false);
    strip_->setEnabled(false);
    progress_->SetMaxValue(total);
    progress_->SetValue(0);
    progress_->show();
    progress_->raise();
}

void FrmEQ::SequenceProgress(int done) {
    progress_->SetValue(done);
}

void FrmEQ::SequenceEnded() {
    progress_->hide();
    page_area_->setEnabled(true);
    strip_->setEnabled(true);
}

void FrmEQ::ReloadAllControls() {
    ShowSceneKeys();
    RefreshPage();
    OfferOfflineEdits();
    UpdateStatus();
}

void FrmEQ::OfferOfflineEdits() {
    if (offline_edits_.empty() || !offline_store_) return;
    const std::vector<int> edits = std::move(offline_edits_);
    const std::unique_ptr<model::ParamTable> kept = std::move(offline_store_);
    offline_edits_.clear();
    const QByteArray question =
        QString::fromUtf8(texts::kOfflineEdits).arg(edits.size()).toUtf8();
    if (!context_.prompts.Question(std::string_view(question.constData(), static_cast<size_t>(question.size()))))
        return;
    // Both scenes of each edited entry come back; the shown scene's go to the device.
    for (const int i : edits) *context_.ws.ParamStore.Record(i) = *kept->Record(i);
    RefreshPage();
    for (const int i : edits)
        if (!context_.link.LinkUp() || !context_.link.WriteParam(i)) break;
    context_.link.MarkModified();
}

void FrmEQ::ClearUndoHistory() {
    undo_->ClearUndo();
}

void FrmEQ::ShowToneReset() {
    if (auto* tone = Key(QStringLiteral("cmdTone"))) tone->SetValue(kNoKeyShift);
}

void FrmEQ::StopEditorTimers() {
    paint_rate_.Stop();
    move_window_.Stop();
    gradient_.Stop();
    if (no_operation_pending_) context_.clock.Cancel(no_operation_);
    no_operation_pending_ = false;
}

void FrmEQ::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    StopEditorTimers();
    graph_->ReleaseGraphics();
    first_activation_done_ = false;
}

void FrmEQ::ShowDeviceState(const QString& text) {
    device_state_ = text;
    UpdateStatus();
}

void FrmEQ::UpdateStatus() {
    QStringList parts;
    const std::string tag = context_.link.DeviceTag();
    if (connect_status_ != 1 && !device_state_.isEmpty()) parts << device_state_;
    if (connect_status_ == 1 && !tag.empty()) {
        QString shownTag;
        for (char c : tag) shownTag += (c >= 0x20 && c < 0x7f) ? QChar::fromLatin1(c) : QChar(u'?');
        parts << shownTag;
        parts << QStringLiteral("模式%1").arg(context_.link.CurrentMode() + 1);
    }
    status_text_ = parts.join(QStringLiteral("  ·  "));
    title_->SetStatus(status_text_, context_.link.Simulated());
}

}  // namespace vellora::editor
