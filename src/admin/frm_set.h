// frmSet "系统设置": the power-on settings. Upper limits of the editor's three master sliders
// with the power-on value of each, kept below its limit; the power-on mode and the on/off
// setting. Not modal; the editor's page refresh reloads it while it is open.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "admin/aux_window.h"

namespace vellora::admin {

class FrmSet : public AuxWindow {
    Q_OBJECT

public:
    /// The upper limits (entries 2568..2570) go to the master sliders' MaxValue through
    /// `masterLimits` after every slider change.
    using MasterLimits = std::function<void(const std::array<int32_t, 3>& limits)>;

    FrmSet(const AuxContext& context, MasterLimits masterLimits, QWidget* parent = nullptr);

    /// LoadValues: every slider from slot 0 of its Addr, every list from slot 0 of the entry
    /// its Tag names.
    void LoadValues();

private:
    void SliderChanged(int index) override;
    void ListChanged(int index, int value) override;

    MasterLimits master_limits_;
};

}  // namespace vellora::admin
