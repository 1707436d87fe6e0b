// Making, binding and refreshing the editor's controls.
#include "editor/control_set.h"

#include "editor/page_layout.h"

namespace vellora::editor {

namespace {

constexpr int kListInputSource = 6;
constexpr int kInputSourceEntry = 17;
constexpr int kShowInputSources = 7;
constexpr int kShowInputSourcesB = 8;

int ClampedValue(const model::SceneSlot* s) {
    return s ? s->Value : 0;
}

}  // namespace

QVariantMap DesignBag(const ControlDecl& d) {
    QVariantMap bag;
    switch (d.Array) {
        case ControlArray::MyScrollBar:
            bag.insert(QStringLiteral("ScrollBarType"), d.Form);
            bag.insert(QStringLiteral("HScrollSize"), d.HScrollSize);
            bag.insert(QStringLiteral("ValueType"), d.ValueType);
            bag.insert(QStringLiteral("MaxValue"), d.MaxValue);
            break;
        case ControlArray::MyComboBox:
            bag.insert(QStringLiteral("ShowType"), d.Form);
            break;
        default:
            bag.insert(QStringLiteral("PngIndexStr"), QString::fromUtf8(d.Pictures.data(),
                                                                        static_cast<int>(d.Pictures.size())));
            bag.insert(QStringLiteral("ActionType"), d.Form);
            break;
    }
    return bag;
}

QString CaptionText(const ControlDecl& d) {
    if (!d.Caption.empty())
        return QString::fromUtf8(d.Caption.data(), static_cast<int>(d.Caption.size()));
    // An entry the name tables leave unnamed is shown by its address: kind and address.
    int entry = -1;
    if (d.Array == ControlArray::MyMute && d.Tag.size() > 2)
        entry = QString::fromLatin1(d.Tag.data() + 2, static_cast<int>(d.Tag.size()) - 2).toInt(nullptr, 16);
    else if (!d.Tag.empty())
        entry = model::ParseAddr(d.Tag);
    if (entry < 0) return {};
    return QStringLiteral("%1,&H%2").arg(entry / 256).arg(entry % 256, 0, 16).toUpper();
}

ControlSet::ControlSet(const controls::ControlContext& context)
    : context_(context), sliders_(kSliderCount, nullptr) {}

controls::BoundControl* ControlSet::Make(const ControlDecl& d, QWidget* parent) {
    const QVariantMap bag = DesignBag(d);
    controls::BoundControl* w = nullptr;
    switch (d.Array) {
        case ControlArray::MyScrollBar: {
            auto* s = new controls::MScrollBar(context_, controls::SliderStored::FromBag(bag), parent);
            if (d.Index >= 0 && d.Index < kSliderCount) sliders_[static_cast<size_t>(d.Index)] = s;
            w = s;
            break;
        }
        case ControlArray::MyComboBox:
            w = new controls::MComboBox(context_, controls::ComboStored::FromBag(bag), parent);
            break;
        default:
            w = new controls::MBtnFlag(context_, controls::BtnFlagStored::FromBag(bag), parent);
            break;
    }
    const QString page = d.Page == kEveryPage ? QString()
                                              : QString::fromUtf8(PageCaption(d.Page).data());
    QString caption = CaptionText(d);
    if (d.Array == ControlArray::OptionFBX || d.Array == ControlArray::OptionFBX2) {
        // The group is named by its first key's entry; each key by its number.
        const ControlDecl* first = &d;
        for (const ControlDecl& o : PageControls())
            if (o.Array == d.Array && o.Index == 0) first = &o;
        caption = QStringLiteral("%1 %2").arg(CaptionText(*first)).arg(d.Index + 1);
    }
    w->SetAccessibleContext(caption, page);
    const Rect r = ControlRect(d, w->width(), w->height());
    w->move(r.X, r.Y);
    return w;
}

void ControlSet::Build(const std::array<QWidget*, kPageCount>& pages, QWidget* masters) {
    if (!made_.empty()) return;
    for (const ControlDecl& d : PageControls()) {
        if (d.Where == Region::Dialog) continue;
        QWidget* parent = d.Page == kEveryPage ? masters : pages[static_cast<size_t>(d.Page)];
        controls::BoundControl* w = Make(d, parent);
        made_.push_back({&d, w});
        by_index_[{d.Array, d.Index}] = w;
    }
    host_ = std::make_unique<controls::SliderArrayHost>(sliders_);
}

void ControlSet::BindControls() {
    for (const MadeControl& m : made_) {
        if (m.Decl->Tag.empty() || m.Decl->Array == ControlArray::MyMute) continue;
        m.Widget->SetAddr(model::ParseAddr(m.Decl->Tag));
    }
}

controls::MScrollBar* ControlSet::Slider(int index) const {
    return index >= 0 && index < kSliderCount ? sliders_[static_cast<size_t>(index)] : nullptr;
}

controls::MComboBox* ControlSet::Combo(int index) const {
    auto it = by_index_.find({ControlArray::MyComboBox, index});
    return it == by_index_.end() ? nullptr : static_cast<controls::MComboBox*>(it->second);
}

controls::MBtnFlag* ControlSet::Button(ControlArray array, int index) const {
    if (array == ControlArray::MyScrollBar || array == ControlArray::MyComboBox) return nullptr;
    auto it = by_index_.find({array, index});
    return it == by_index_.end() ? nullptr : static_cast<controls::MBtnFlag*>(it->second);
}

const ControlDecl* ControlSet::DeclOf(const QWidget* widget) const {
    for (const MadeControl& m : made_)
        if (m.Widget == widget) return m.Decl;
    return nullptr;
}

int ControlSet::EntryOf(const MadeControl& m) const {
    if (m.Decl->Array == ControlArray::MyMute) {
        const std::string_view tag = m.Decl->Tag;
        bool ok = false;
        const int v = QString::fromLatin1(tag.data() + 2, static_cast<int>(tag.size()) - 2)
                          .toInt(&ok, 16);
        return ok ? v : -1;
    }
    if (m.Decl->Array == ControlArray::SingleMute) return model::entry::kSingleMute0 + m.Decl->Index;
    return m.Widget->Addr();
}

std::vector<MadeControl> ControlSet::OnPage(int page) const {
    std::vector<MadeControl> out;
    for (const MadeControl& m : made_)
        if (m.Decl->Page == page) out.push_back(m);
    return out;
}

void ControlSet::RefreshPage(const model::Workspace& ws, int page, bool variantB) {
    const int first = ws.MenuKindFirst(page);
    const int last = ws.MenuKindLast(page);
    const int scene = ws.CurrentScene();
    const model::ParamTable& store = ws.ParamStore;
    auto inPage = [&](int a) { return a >= first && a <= last; };

    if (auto* list = Combo(kListInputSource)) {
        list->SetShowType(variantB ? kShowInputSourcesB : kShowInputSources);
        list->SetValue(ClampedValue(store.Slot(kInputSourceEntry, scene)));
    }
    for (const MadeControl& m : made_) {
        const int a = m.Widget->Addr();
        switch (m.Decl->Array) {
            case ControlArray::MyScrollBar: {
                auto* s = static_cast<controls::MScrollBar*>(m.Widget);
                if (m.Decl->Where == Region::Masters) {
                    s->SetValue(ClampedValue(store.Slot(a, 0)));
                } else if (inPage(a) && s->EQindex().isEmpty()) {
                    s->SetValue(ClampedValue(store.Slot(a, scene)));
                }
                break;
            }
            case ControlArray::MyComboBox:
                if (inPage(a)) static_cast<controls::MComboBox*>(m.Widget)->SetValue(
                    ClampedValue(store.Slot(a, scene)));
                break;
            case ControlArray::MyBTN:
                if (inPage(a)) static_cast<controls::MBtnFlag*>(m.Widget)->SetValue(
                    ClampedValue(store.Slot(a, scene)));
                break;
            case ControlArray::MyMute:
                if (m.Decl->Page == page) static_cast<controls::MBtnFlag*>(m.Widget)->SetValue(
                    ClampedValue(store.Slot(EntryOf(m), 0)));
                break;
            case ControlArray::SingleMute:
                static_cast<controls::MBtnFlag*>(m.Widget)->SetValue(
                    ClampedValue(store.Slot(EntryOf(m), 0)));
                break;
            case ControlArray::OptionFBX:
                if (page == 1)
                    static_cast<controls::MBtnFlag*>(m.Widget)->SetValue(
                        ClampedValue(store.Slot(model::ParseAddr("Group,1,&H15"), scene)) ==
                                m.Decl->Index
                            ? 1
                            : 0);
                break;
            case ControlArray::OptionFBX2:
                if (page == 2)
                    static_cast<controls::MBtnFlag*>(m.Widget)->SetValue(
                        ClampedValue(store.Slot(model::entry::kOptionGroupPage2, 0)) ==
                                m.Decl->Index
                            ? 1
                            : 0);
                break;
        }
    }
}

void ControlSet::LayoutEffectView(int view) {
    for (const MadeControl& m : made_) {
        if (m.Decl->Page != kEffectsPage || m.Decl->Where != Region::Strips) continue;
        const bool shown = m.Decl->EffectView == view;
        m.Widget->setVisible(shown);
        if (shown) {
            const Rect r = StripRect(*m.Decl, m.Widget->width(), m.Widget->height());
            m.Widget->move(r.X, r.Y);
        }
    }
}

}  // namespace vellora::editor
