// Builds the gallery panels and renders them to PNG files.
#include "vellora/control_gallery.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "controls/btn_flag_logic.h"
#include "controls/c_progress_bar.h"
#include "controls/combo_drop_list.h"
#include "controls/combo_lists.h"
#include "controls/control_look_source.h"
#include "controls/m_btn_flag.h"
#include "controls/m_combo_box.h"
#include "controls/m_scroll_bar.h"
#include "graph/picture_store.h"
#include "model/value_scales.h"
#include "vellora/gallery_panel.h"

namespace vellora::app {

namespace {

using controls::MBtnFlag;
using controls::MComboBox;
using controls::MScrollBar;
using controls::SliderStored;

constexpr int kPanelWidth = 1180;

const char* const kPanelNames[] = {
    "slider_faders",      "slider_band_strips", "slider_bars_by_size",
    "slider_value_types", "slider_fill_states", "slider_wide_narrow_knob",
    "flag_buttons",       "list_boxes",         "progress_bar",
};
constexpr int kPanelCount = static_cast<int>(std::size(kPanelNames));

// The look of the dance scene for one control, over the real look source.
class SecondSceneLook final : public controls::ControlLookSource {
public:
    explicit SecondSceneLook(const controls::ControlLookSource& base) : base_(base) {}
    bool ParamLocked(int addr) const override { return base_.ParamLocked(addr); }
    bool BassAutoControl() const override { return base_.BassAutoControl(); }
    bool IsPerScene(int addr) const override { return base_.IsPerScene(addr); }
    int CurrentScene() const override { return 1; }
    int32_t MuteValue(int muteIndex) const override { return base_.MuteValue(muteIndex); }
    bool Closing() const override { return base_.Closing(); }

private:
    const controls::ControlLookSource& base_;
};

void Press(QWidget* w, QPointF at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}

void InitBackgrounds(QWidget* root) {
    for (auto* s : root->findChildren<MScrollBar*>()) s->BkGround_Init(false);
    for (auto* b : root->findChildren<MBtnFlag*>()) b->BkGround_Init(false);
    for (auto* c : root->findChildren<MComboBox*>()) c->BkGround_Init(false);
}

QString Value1(double v) {
    return QString::number(v, 'g', 6);
}

}  // namespace

ControlGallery::ControlGallery(model::Workspace& ws, const controls::ControlContext& context)
    : ws_(ws), context_(context) {
    for (int i = 0; i < model::kParamCount; ++i) {
        const model::SceneSlot* slot = ws_.ParamStore.Slot(i, 0);
        if (!slot || !slot->Defined) continue;
        if (slot->PerScene && addrs_.perScene < 0) addrs_.perScene = i;
        if (!slot->PerScene && addrs_.shared < 0 && i < model::kModeScopedEnd) addrs_.shared = i;
    }
    addrs_.locked = model::entry::kKeyShift;
    ws_.SetParamLocked(addrs_.locked, 1);
    addrs_.mute = model::entry::kChannelMute0;
    ws_.ParamStore.SetValueAt(addrs_.mute, 0, 1);
    if (addrs_.shared < 0) addrs_.shared = model::entry::kMasterSlider0;
}

ControlGallery::~ControlGallery() = default;

QString ControlGallery::FileName(int panelIndex) {
    return panelIndex >= 0 && panelIndex < kPanelCount
               ? QString::fromLatin1(kPanelNames[panelIndex])
               : QString();
}

std::vector<std::unique_ptr<GalleryPanel>> ControlGallery::BuildPanels(bool interactive) {
    std::vector<std::unique_ptr<GalleryPanel>> panels;
    for (int i = 0; i < 6; ++i) panels.emplace_back(SliderPanel(i, interactive));
    panels.emplace_back(ButtonPanel(interactive));
    panels.emplace_back(ComboPanel(interactive));
    panels.emplace_back(ProgressPanel());
    return panels;
}

GalleryPanel* ControlGallery::SliderPanel(int which, bool interactive) {
    static const char* const kTitles[] = {
        "FADERS  ·  form 0, value type 10, flag bit",
        "EQUALISER BAND STRIPS  ·  form 1",
        "HORIZONTAL BARS  ·  form 2 by HScrollSize 0..4",
        "VALUE TYPES 0..17  ·  form 2",
        "FILL STATES  ·  forms 2, 4, 6: normal, second scene, locked, muted",
        "WIDE AND NARROW BARS, ROTARY KNOB  ·  forms 3, 7, 5",
    };
    auto* panel = new GalleryPanel(QString::fromUtf8(kTitles[which]), kPanelWidth);
    // Looks that belong to single controls (kept alive with the panel).
    auto* scene = new SecondSceneLook(context_.look);
    auto* sceneHolder = new QObject(panel);
    QObject::connect(sceneHolder, &QObject::destroyed, [scene] { delete scene; });
    const controls::ControlContext sceneContext{context_.clock, context_.pictures, *scene};

    auto make = [&](SliderStored s, double value, const QString& caption,
                    const controls::ControlContext* ctx = nullptr) {
        auto* w = new MScrollBar(ctx ? *ctx : context_, s);
        w->SetAddr(addrs_.shared);
        w->SetValue(value);
        panel->Add(w, caption);
        return w;
    };
    auto form = [](int f, int hs = 0, int vt = 0, int max = 80) {
        SliderStored s;
        s.ScrollBarType = f;
        s.HScrollSize = hs;
        s.ValueType = vt;
        s.MaxValue = max;
        return s;
    };

    switch (which) {
        case 0: {
            make(form(0), 100, QStringLiteral("unity 100 %"));
            make(form(0), 200, QStringLiteral("200 %\n(position 150)"));
            make(form(0), 300, QStringLiteral("flag set, 50 %\n(value 300)"));
            make(form(0), 0, QStringLiteral("0 %"));
            make(form(0), 80, QStringLiteral("focused"))->SetForceShowFocus(true);
            auto* locked = make(form(0), 120, QStringLiteral("locked"));
            locked->SetAddr(addrs_.locked);
            if (!interactive) {
                auto* pressed = make(form(0), 60, QStringLiteral("flag button\npressed"));
                Press(pressed, QPointF(18, 165));
            }
            break;
        }
        case 1: {
            auto strip = [&](double gain, int shape, int freqHz, const QString& caption, int c = 0,
                             const controls::ControlContext* ctx = nullptr) {
                SliderStored s = form(1);
                s.EQNormalStyle = c;
                s.QType = shape;
                s.Freq = model::FreqIndex(freqHz);
                auto* w = make(s, gain, caption, ctx);
                return w;
            };
            strip(250, 0, 1000, QStringLiteral("0.0 dB\npeak"));
            strip(310, 1, 63, QStringLiteral("+6.0 dB\nlow shelf"))->SetsQ(10);
            strip(130, 2, 10000, QStringLiteral("-12.0 dB\nhigh shelf"));
            strip(370, 0, 250, QStringLiteral("+12 dB\ntop"));
            strip(10, 0, 4000, QStringLiteral("-24 dB\nbottom"));
            strip(280, 0, 1600, QStringLiteral("focused"))->SetForceShowFocus(true);
            auto* second = strip(220, 0, 400, QStringLiteral("second\nscene"), 0, &sceneContext);
            second->SetAddr(addrs_.perScene);
            strip(290, 0, 2500, QStringLiteral("switched\noff"))->SetEQdisabled(true);
            strip(200, 1, 100, QStringLiteral("locked"))->SetAddr(addrs_.locked);
            if (!interactive) {
                auto* entry = strip(265, 0, 630, QStringLiteral("gain entry\nbox open"));
                entry->SetForceShowFocus(true);
                Press(entry, QPointF(20, 130));
            }
            strip(250, 0, 1000, QStringLiteral("tall\n0.0 dB"), 1);
            strip(330, 0, 160, QStringLiteral("tall\nfocused"), 1)->SetForceShowFocus(true);
            strip(170, 2, 8000, QStringLiteral("tall\nsecond scene"), 1, &sceneContext)
                ->SetAddr(addrs_.perScene);
            break;
        }
        case 2: {
            make(form(2, 0, 0, 80), 56, QStringLiteral("HScrollSize 0\nvalue type 0 / 80"));
            make(form(2, 1, 9, 50), 40, QStringLiteral("HScrollSize 1\nvalue type 9 / 50"));
            panel->NewRow();
            make(form(2, 2, 2, 400), 120, QStringLiteral("HScrollSize 2\nvalue type 2 / 400"));
            make(form(2, 3, 10, 150), 250 + 120,
                 QStringLiteral("HScrollSize 3, flag set\nvalue type 10 / 150"));
            make(form(2, 3, 10, 150), 90, QStringLiteral("HScrollSize 3, flag clear"));
            make(form(2, 4, 11, 100), 64, QStringLiteral("HScrollSize 4\nvalue type 11 / 100"));
            if (!interactive) {
                auto* pressed =
                    make(form(2, 3, 10, 150), 100, QStringLiteral("flag button pressed"));
                Press(pressed, QPointF(146, 10));
            }
            break;
        }
        case 3: {
            struct Row {
                int vt, max;
                double value;
            };
            const Row rows[] = {{0, 80, 40},    {1, 142, 86},   {2, 400, 160}, {3, 180, 60},
                                {3, 180, 150},  {4, 199, 39},   {5, 199, 100}, {6, 63, 330},
                                {7, 89, 30},    {8, 100, 62},   {9, 50, 60},   {10, 150, 150},
                                {11, 100, 35},  {12, 400, 140}, {13, 143, 0},  {13, 148, 120},
                                {14, 900, 360}, {15, 360, 250}, {16, 64, 330}, {16, 64, 362},
                                {17, 80, 30}};
            for (const Row& r : rows)
                make(form(2, 0, r.vt, r.max), r.value,
                     QStringLiteral("type %1 / %2\nvalue %3")
                         .arg(r.vt)
                         .arg(r.max)
                         .arg(Value1(r.value)));
            break;
        }
        case 4: {
            auto perScene = [&](SliderStored s, double v, const QString& caption,
                                const controls::ControlContext* ctx = nullptr) {
                auto* w = make(s, v, caption, ctx);
                w->SetAddr(addrs_.perScene);
                return w;
            };
            perScene(form(2, 0, 0, 80), 52, QStringLiteral("form 2 normal"));
            perScene(form(2, 0, 0, 80), 52, QStringLiteral("second scene"), &sceneContext);
            make(form(2, 0, 0, 80), 52, QStringLiteral("locked"))->SetAddr(addrs_.locked);
            perScene(form(2, 0, 0, 80), 52, QStringLiteral("switched off"))->SetEQdisabled(true);
            {
                auto* muted = make(form(2, 0, 0, 80), 52, QStringLiteral("channel muted"));
                muted->SetMuteRAMindex(addrs_.mute);
            }
            panel->NewRow();
            perScene(form(4, 0, 0, 80), 30, QStringLiteral("form 4 normal"));
            perScene(form(4, 0, 0, 80), 30, QStringLiteral("form 4 second scene"), &sceneContext);
            make(form(4, 0, 0, 80), 30, QStringLiteral("form 4 locked"))->SetAddr(addrs_.locked);
            panel->NewRow();
            make(form(6, 0, 0, 80), 60, QStringLiteral("form 6, no mute"));
            make(form(6, 0, 7, 89), 44, QStringLiteral("form 6, channel open"))
                ->SetMuteRAMindex(addrs_.mute + 1);
            make(form(6, 0, 9, 50), 44, QStringLiteral("form 6, channel muted"))
                ->SetMuteRAMindex(addrs_.mute);
            make(form(6, 0, 0, 80), 50, QStringLiteral("form 6 locked"))->SetAddr(addrs_.locked);
            break;
        }
        default: {
            make(form(3, 2, 0, 80), 50, QStringLiteral("form 3, HScrollSize 2"));
            make(form(7, 2, 10, 150), 110, QStringLiteral("form 7, value type 10"));
            make(form(7, 2, 0, 80), 20, QStringLiteral("form 7, value type 0"));
            make(form(7, 2, 10, 150), 110, QStringLiteral("form 7 locked"))->SetAddr(addrs_.locked);
            panel->NewRow();
            make(form(5, 0, 0, 80), 0, QStringLiteral("knob at 0"));
            make(form(5, 0, 0, 80), 40, QStringLiteral("knob at 40"));
            make(form(5, 0, 0, 80), 80, QStringLiteral("knob at 80"));
            make(form(5, 0, 0, 80), 58, QStringLiteral("knob locked"))->SetAddr(addrs_.locked);
            break;
        }
    }
    panel->Finish();
    return panel;
}

GalleryPanel* ControlGallery::ButtonPanel(bool interactive) {
    auto* panel = new GalleryPanel(
        QStringLiteral("FLAG BUTTONS  ·  picture lists, locked and disabled looks"), kPanelWidth);
    auto make = [&](const QString& list, int action, int value, const QString& caption,
                    int addr = -1) {
        controls::BtnFlagStored s;
        s.PNGIndexStr = list;
        s.ActionType = action;
        auto* b = new MBtnFlag(context_, s);
        b->SetAddr(addr);
        b->SetValue(value);
        panel->Add(b, caption);
        return b;
    };
    make(QStringLiteral("142,143"), 0, 0, QStringLiteral("on/off: off\n142"));
    make(QStringLiteral("142,143"), 0, 1, QStringLiteral("on/off: on\n143"));
    make(QStringLiteral("142,143"), 0, 0, QStringLiteral("locked off\n304"), addrs_.locked);
    make(QStringLiteral("142,143"), 0, 1, QStringLiteral("locked on\n305"), addrs_.locked);
    make(QStringLiteral("218,219"), 2, 0, QStringLiteral("option tab\n218"));
    make(QStringLiteral("218,219"), 2, 1, QStringLiteral("option tab on\n219"));
    panel->NewRow();
    make(QStringLiteral("378,379"), 3, 0, QStringLiteral("two-half: left\n378"));
    make(QStringLiteral("378,379"), 3, 1, QStringLiteral("two-half: right\n379"));
    make(QStringLiteral("378,379"), 3, 0, QStringLiteral("locked left\n199"), addrs_.locked);
    make(QStringLiteral("378,379"), 3, 1, QStringLiteral("locked right\n198"), addrs_.locked);
    make(QStringLiteral("380,381"), 3, 0, QStringLiteral("two-half B: left\n380"));
    make(QStringLiteral("380,381"), 3, 1, QStringLiteral("two-half B: right\n381"));
    make(QStringLiteral("380,381"), 3, 0, QStringLiteral("locked left\n196"), addrs_.locked);
    make(QStringLiteral("380,381"), 3, 1, QStringLiteral("locked right\n197"), addrs_.locked);
    panel->NewRow();
    make(QStringLiteral("361,362,359"), 2, 0, QStringLiteral("link down\n361"));
    make(QStringLiteral("361,362,359"), 2, 1, QStringLiteral("searching\n362"));
    make(QStringLiteral("361,362,359"), 2, 2, QStringLiteral("linked\n359"));
    make(QStringLiteral("110"), 2, 0, QStringLiteral("single look\n110"));
    make(QStringLiteral("312"), 1, 0, QStringLiteral("command\n312"));
    auto* off = make(QStringLiteral("312"), 1, 0, QStringLiteral("disabled\n317"));
    off->SetSpecialFeature(QStringLiteral("DisabledRefresh"));
    off->SetEnabled(false);
    if (!interactive) {
        auto* held = make(QStringLiteral("142,143"), 1, 0, QStringLiteral("momentary, held\n143"));
        Press(held, QPointF(10, 10));
    }
    panel->Finish();
    return panel;
}

GalleryPanel* ControlGallery::ComboPanel(bool interactive) {
    auto* panel = new GalleryPanel(
        QStringLiteral("LIST BOXES  ·  ShowType 0..8, pressed, locked, open list"), kPanelWidth);
    auto make = [&](int showType, int value, const QString& caption) {
        controls::ComboStored s;
        s.ShowType = showType;
        auto* c = new MComboBox(context_, s);
        c->SetValue(value);
        panel->Add(c, caption);
        return c;
    };
    const int values[] = {0, 1, 4, 2, 1, 2, 3, 0, 4};
    for (int t = 0; t < 9; ++t) {
        const QString item =
            QString::fromStdString(controls::ComboItems(t)[static_cast<size_t>(values[t])]);
        make(t, values[t], QStringLiteral("ShowType %1\n%2").arg(t).arg(item));
    }
    panel->NewRow();
    make(0, 2, QStringLiteral("locked"))->SetAddr(addrs_.locked);
    make(6, 2, QStringLiteral("disabled"))->SetEnabled(false);
    if (!interactive) {
        auto* pressed = make(4, 1, QStringLiteral("face pressed"));
        pressed->setFocus();
        Press(pressed, QPointF(40, 10));
        pressed->SetValue(1);
        // The open lists, drawn where they float: under their faces.
        for (int t : {0, 3}) {
            auto* open = make(t, t == 0 ? 2 : 1, QStringLiteral("open list, ShowType %1").arg(t));
            auto* list = open->List();
            list->SetItems(list->Items());
            list->setGeometry(0, 0, open->width() - 3,
                              (open->ItemCount() + 1) * controls::kComboItemHeight - 1);
            auto* shot = new QLabel(panel);
            shot->setPixmap(list->grab());
            shot->resize(list->size());
            panel->AddBeside(shot, QPoint(2, open->height()));
        }
    }
    panel->Finish();
    return panel;
}

GalleryPanel* ControlGallery::ProgressPanel() {
    auto* panel = new GalleryPanel(QStringLiteral("PROGRESS BAR  ·  C_ProgressBar"), kPanelWidth);
    auto make = [&](int max, int value, int show, const QString& caption) {
        auto* bar = new controls::C_ProgressBar;
        bar->resize(420, 20);
        bar->SetMaxValue(max);
        bar->SetValue(value);
        bar->SetShowContent(show);
        panel->Add(bar, caption);
    };
    make(100, 0, 0, QStringLiteral("waiting, value 0"));
    make(100, 50, 1, QStringLiteral("50 of 100, percentage text"));
    panel->NewRow();
    make(100, 150, 1, QStringLiteral("value 150 cut to 100: full"));
    make(0, 1, 1, QStringLiteral("MaxValue 0 drawn as 1, value 1"));
    panel->Finish();
    return panel;
}

QStringList ControlGallery::RenderTo(const QString& dir, QString& error) {
    QStringList written;
    if (!QDir().mkpath(dir)) {
        error = QStringLiteral("cannot create the folder %1").arg(dir);
        return written;
    }
    auto panels = BuildPanels(false);
    std::vector<QImage> shots;
    for (size_t i = 0; i < panels.size(); ++i) {
        InitBackgrounds(panels[i].get());
        QImage image = panels[i]->grab().toImage();
        const QString path =
            QDir(dir).filePath(FileName(static_cast<int>(i)) + QStringLiteral(".png"));
        if (!image.save(path)) {
            error = QStringLiteral("cannot write %1").arg(path);
            return written;
        }
        written << path;
        shots.push_back(image);
    }
    // The contact sheet at the screen's density and at twice that.
    for (const qreal dpr : {1.0, 2.0}) {
        context_.pictures.SetDevicePixelRatio(dpr);
        int w = 0, h = 12;
        for (const auto& p : panels) {
            w = std::max(w, p->width());
            h += p->height() + 12;
        }
        w += 24;
        QImage sheet(static_cast<int>(w * dpr), static_cast<int>(h * dpr),
                     QImage::Format_ARGB32_Premultiplied);
        sheet.setDevicePixelRatio(dpr);
        sheet.fill(QColor(10, 12, 15));
        {
            QPainter painter(&sheet);
            int y = 12;
            for (const auto& p : panels) {
                InitBackgrounds(p.get());
                p->render(&painter, QPoint(12, y));
                y += p->height() + 12;
            }
        }
        const QString name = dpr == 1.0 ? QStringLiteral("contact_sheet.png")
                                        : QStringLiteral("contact_sheet@2x.png");
        const QString path = QDir(dir).filePath(name);
        if (!sheet.save(path)) {
            error = QStringLiteral("cannot write %1").arg(path);
            return written;
        }
        written << path;
    }
    context_.pictures.SetDevicePixelRatio(1.0);
    return written;
}

}  // namespace vellora::app
