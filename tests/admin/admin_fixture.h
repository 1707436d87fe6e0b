// The launcher frame over the simulated processor on virtual time: the real link session on
// the device layer's port for "sim", scripted prompts and a scripted file chooser.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>

#include <deque>
#include <memory>

#include "admin/file_chooser.h"
#include "admin/mdi_main.h"
#include "controls/control_pictures.h"
#include "controls/workspace_look_source.h"
#include "device/device_port_factory.h"
#include "editor/frm_eq.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "model/clock.h"
#include "model/workspace.h"
#include "protocol/link_session.h"
#include "protocol/virtual_wait.h"
#include "support/scripted_prompts.h"

namespace vellora::admin::test {

/// Hands out the scripted paths in order (empty: cancelled) and records each question.
class ScriptedFileChooser : public FileChooser {
public:
    std::deque<QString> Paths;
    QStringList Asked;  ///< "open .VL" or "save .VL" per dialog shown

    QString ChooseOpenFile(const QString& extension) override { return Next("open " + extension); }
    QString ChooseSaveFile(const QString& extension) override { return Next("save " + extension); }

private:
    QString Next(const QString& asked) {
        Asked << asked;
        if (Paths.empty()) return {};
        QString p = Paths.front();
        Paths.pop_front();
        return p;
    }
};

class LauncherTest : public ::testing::Test {
protected:
    LauncherTest() {
        graph::RegisterGraphPictures(pictures);
        controls::RegisterControlPictures(pictures);
        frame = std::make_unique<MdiMain>(
            LauncherContext{ws, clock, pictures, look, session, prompts, true});
        session.SetViews(frame->Views());
    }
    ~LauncherTest() override { frame.reset(); }

    /// Plugs the device in, opens the frame with its editor and lets the link come up and
    /// synchronise.
    void OpenLinked() {
        ASSERT_EQ(session.Open(kSim), protocol::LinkSession::OpenResult::Ok);
        OpenFrame();
        Settle();
        ASSERT_TRUE(session.Link().LinkUp());
        ASSERT_NE(device, nullptr);
    }
    /// The frame and its editor without a device.
    void OpenFrame() {
        frame->Load(QSize(1920, 1080));
        frame->show();
    }
    /// Virtual time passes: searches, link-up, synchronisation.
    void Settle(int ms = 3000) { clock.AdvanceBy(ms); }
    [[nodiscard]] device::ProcessorState& Device() { return device->Processor().State(); }
    [[nodiscard]] uint32_t Sent() const {
        return const_cast<protocol::LinkSession&>(session).Channel().Counters().Transmissions;
    }

    static inline const link::Endpoint kSim{link::EndpointKind::Sim, "", "", 0};

    model::VirtualClock clock;
    protocol::VirtualWait wait{clock};
    model::Workspace ws;
    controls::WorkspaceLookSource look{ws};
    graph::PictureStore pictures;
    protocol::testing::ScriptedPrompts prompts;
    device::SimulatedPort* device = nullptr;
    protocol::LinkSession session{ws, wait, prompts,
                                  [this](const link::Endpoint& endpoint, model::Clock& c) {
                                      device::DevicePort port = device::MakeDevicePort(endpoint, c);
                                      device = port.Simulated;
                                      return std::move(port.Port);
                                  }};
    std::unique_ptr<MdiMain> frame;
};

}  // namespace vellora::admin::test
