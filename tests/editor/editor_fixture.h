// An editor window over the defaults, on virtual time, with a link the test drives: it
// records every parameter write and says whether the link is up.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/control_pictures.h"
#include "controls/workspace_look_source.h"
#include "editor/editor_link.h"
#include "editor/frm_eq.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "model/clock.h"
#include "model/workspace.h"
#include "protocol/prompts.h"

namespace vellora::editor::test {

class RecordingLink : public EditorLink {
public:
    bool Up = false;
    bool Modified = false;
    std::vector<int> Writes;
    int Switches = 0;
    int Exits = 0;

    [[nodiscard]] bool LinkUp() const override { return Up; }
    int FailFrom = -1;  ///< the write with this number (0-based) and later ones fail
    std::function<void()> OnWrite;  ///< runs inside every write, as events run inside a wait
    [[nodiscard]] bool WriteParam(int32_t index) override {
        if (!Up) return false;
        if (FailFrom >= 0 && static_cast<int>(Writes.size()) >= FailFrom) return false;
        Writes.push_back(index);
        if (OnWrite) OnWrite();
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

// Messages are kept; questions take the next scripted answer (No when none is left).
class KeptPrompts : public protocol::Prompts {
public:
    std::vector<std::string> Messages;
    std::vector<bool> Answers;
    void Warning(std::string_view text) override { Messages.emplace_back(text); }
    void Error(std::string_view text) override { Messages.emplace_back(text); }
    bool Question(std::string_view text) override {
        Messages.emplace_back(text);
        if (Answers.empty()) return false;
        const bool yes = Answers.front();
        Answers.erase(Answers.begin());
        return yes;
    }
    void AskPassword(protocol::PasswordWindow&) override {}
};

class EditorTest : public ::testing::Test {
protected:
    EditorTest() {
        graph::RegisterGraphPictures(pictures);
        controls::RegisterControlPictures(pictures);
        window = std::make_unique<FrmEQ>(EditorContext{ws, clock, pictures, look, link, prompts});
        window->Load(QSize(1920, 1080));
        window->show();
    }

    model::Workspace ws;
    controls::WorkspaceLookSource look{ws};
    model::VirtualClock clock;
    graph::PictureStore pictures;
    RecordingLink link;
    KeptPrompts prompts;
    std::unique_ptr<FrmEQ> window;
};

}  // namespace vellora::editor::test
