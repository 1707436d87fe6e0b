// The controls of the editor's pages, made from the page tables: the arrays the handlers
// index (MyScrollBar, MyComboBox, MyBTN, MyMute, SingleMute, OptionFBX, OptionFBX2), their
// binding to the store, and the page refresh that loads them from it.
#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <map>
#include <memory>
#include <vector>

#include "controls/control_context.h"
#include "controls/m_btn_flag.h"
#include "controls/m_combo_box.h"
#include "controls/m_scroll_bar.h"
#include "controls/slider_array_host.h"
#include "editor/page_tables.h"
#include "model/workspace.h"

namespace vellora::editor {

/// One made control and the row it was made from.
struct MadeControl {
    const ControlDecl* Decl = nullptr;
    controls::BoundControl* Widget = nullptr;
};

class ControlSet {
public:
    static constexpr int kSliderCount = 187;  ///< MyScrollBar 0..186

    /// `context` outlives the set.
    explicit ControlSet(const controls::ControlContext& context);

    /// Makes every control of the main window: page controls as children of `pages[p]`,
    /// the master row's as children of `masters`, each at its place (see page_layout.h),
    /// with its caption and page given to the accessibility tree. Runs once.
    void Build(const std::array<QWidget*, kPageCount>& pages, QWidget* masters);
    /// BindControls: every control with an address text takes Addr from it (the channel
    /// mutes, whose text is a bare number, stay unbound; their handler reads the number).
    void BindControls();

    [[nodiscard]] controls::MScrollBar* Slider(int index) const;
    [[nodiscard]] controls::MComboBox* Combo(int index) const;
    [[nodiscard]] controls::MBtnFlag* Button(ControlArray array, int index) const;
    [[nodiscard]] const ControlDecl* DeclOf(const QWidget* widget) const;
    /// The entry a control edits: its Addr, or for a channel mute the number of its text.
    [[nodiscard]] int EntryOf(const MadeControl& made) const;
    [[nodiscard]] const std::vector<MadeControl>& All() const { return made_; }
    /// The controls of a page (not the master row).
    [[nodiscard]] std::vector<MadeControl> OnPage(int page) const;

    /// The slider array as the response graph binds it.
    [[nodiscard]] controls::SliderArrayHost& SliderHost() { return *host_; }

    /// RefreshPage: loads the controls of `page` from the current scene slot (the master
    /// sliders, mutes, bypass and key from slot 0); the list of entry 17 shows the input
    /// sources of the device's variant. The graph is the caller's.
    void RefreshPage(const model::Workspace& ws, int page, bool variantB);
    /// Page 3: shows the band strips of `view` (0 echo, 1 reverb, 2 effect) at the group's
    /// places and hides the other two groups.
    void LayoutEffectView(int view);

private:
    controls::BoundControl* Make(const ControlDecl& decl, QWidget* parent);

    controls::ControlContext context_;
    std::vector<MadeControl> made_;
    std::vector<controls::MScrollBar*> sliders_;
    std::map<std::pair<ControlArray, int>, controls::BoundControl*> by_index_;
    std::unique_ptr<controls::SliderArrayHost> host_;
};

/// A control's design data as its stored properties.
[[nodiscard]] QVariantMap DesignBag(const ControlDecl& decl);
/// The caption a page shows for a row: its own, or the address text of an unnamed entry.
[[nodiscard]] QString CaptionText(const ControlDecl& decl);

}  // namespace vellora::editor
