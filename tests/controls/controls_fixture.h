// What every control test needs: a workspace with the defaults and its look source, virtual
// time, and a picture store with the graph's and the controls' pictures.
#pragma once

#include <gtest/gtest.h>

#include "controls/control_context.h"
#include "controls/control_pictures.h"
#include "controls/workspace_look_source.h"
#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "model/clock.h"
#include "model/workspace.h"

namespace vellora::controls::test {

class ControlsTest : public ::testing::Test {
protected:
    ControlsTest() {
        ws.LoadDefaults();
        graph::RegisterGraphPictures(pictures);
        RegisterControlPictures(pictures);
    }

    /// A parameter the defaults keep per scene, and one they share between the scenes.
    int PerSceneAddr() const {
        for (int i = 0; i < model::kModeScopedEnd; ++i)
            if (ws.IsPerScene(i)) return i;
        return -1;
    }
    int SharedAddr() const {
        for (int i = 0; i < model::kModeScopedEnd; ++i) {
            const model::SceneSlot* s = ws.ParamStore.Slot(i, 0);
            if (s && s->Defined && !s->PerScene) return i;
        }
        return -1;
    }

    model::Workspace ws;
    WorkspaceLookSource look{ws};
    model::VirtualClock clock;
    graph::PictureStore pictures;
    ControlContext context{clock, pictures, look};
};

}  // namespace vellora::controls::test
