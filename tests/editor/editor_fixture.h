// An editor window over the defaults, on virtual time, with a link the test drives: it
// records every parameter write and says whether the link is up.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "controls/control_pictures.h"
#include "controls/workspace_look_source.h"
#include "editor/editor_link.h"
#include "editor/frm_eq.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "model/clock.h"
#include "model/workspace.h"

namespace vellora::editor::test {

class RecordingLink : public EditorLink {
public:
    bool Up = false;
    bool Modified = false;
    std::vector<int> Writes;
    int Switches = 0;
    int Exits = 0;

    [[nodiscard]] bool LinkUp() const override { return Up; }
    [[nodiscard]] bool WriteParam(int32_t index) override {
        if (!Up) return false;
        Writes.push_back(index);
        return true;
    }
    void SwitchClick() override { ++Switches; }
    void IndicatorClick() override {}
    void Exit() override { ++Exits; }
    void StartTimers() override {}
    [[nodiscard]] bool Busy() const override { return false; }
    [[nodiscard]] int CurrentMode() const override { return 2; }
    [[nodiscard]] std::string DeviceTag() const override { return "TR-W48A_"; }
    [[nodiscard]] bool VariantB() const override { return false; }
    [[nodiscard]] bool Simulated() const override { return true; }
    void MarkModified() override { Modified = true; }

};

class EditorTest : public ::testing::Test {
protected:
    EditorTest() {
        graph::RegisterGraphPictures(pictures);
        controls::RegisterControlPictures(pictures);
        window = std::make_unique<FrmEQ>(EditorContext{ws, clock, pictures, look, link});
        window->Load(QSize(1920, 1080));
        window->show();
    }

    model::Workspace ws;
    controls::WorkspaceLookSource look{ws};
    model::VirtualClock clock;
    graph::PictureStore pictures;
    RecordingLink link;
    std::unique_ptr<FrmEQ> window;
};

}  // namespace vellora::editor::test
