// The mode commands' steps.
#include "editor/mode_commands.h"

namespace vellora::editor {

namespace {
constexpr int kMicKindA = 1;  // microphones 1 and 2
constexpr int kMicKindB = 2;  // microphones 3 and 4
}  // namespace

ModeCommands::ModeCommands(model::Workspace& ws, storage::UndoRedo& undo, EditorLink& link,
                           protocol::Prompts& prompts, ModeCommandHost& host)
    : ws_(ws), undo_(undo), link_(link), prompts_(prompts), host_(host) {}

bool ModeCommands::WriteAll(const std::vector<int>& entries) {
    if (!link_.LinkUp()) return true;
    const int total = static_cast<int>(entries.size());
    const bool showProgress = total > kProgressAfterWrites;
    if (showProgress) host_.SequenceStarted(total);
    bool ok = true;
    for (int i = 0; i < total && ok; ++i) {
        if (host_.Closing()) {
            ok = false;
            break;
        }
        ok = link_.WriteParam(entries[static_cast<size_t>(i)]);
        if (showProgress) host_.SequenceProgress(i + 1);
    }
    if (showProgress) host_.SequenceEnded();
    return ok;
}

void ModeCommands::SceneSwitch(int scene) {
    if (scene != 0 && scene != 1) return;
    if (ws_.BassAutoControl() == 1) {
        prompts_.Warning(texts::kAutoControlBlocks);
        host_.ShowSceneKeys();
        return;
    }
    ws_.SetCurrentScene(scene);
    ws_.ParamStore.SetValueAt(model::entry::kSceneSelect, 0, scene);
    host_.ShowSceneKeys();
    undo_.ClearUndo();
    host_.RefreshPage();
    if (link_.LinkUp()) (void)link_.WriteParam(model::entry::kSceneSelect);
}

void ModeCommands::AutoControl(int on) {
    ws_.SetBassAutoControl(on == 1 ? 1 : 0);
    host_.ShowSceneKeys();
    ws_.ParamStore.SetValueAt(model::entry::kBassAuto, 0, ws_.BassAutoControl());
    undo_.ClearUndo();
    host_.RefreshPage();
    if (link_.LinkUp()) (void)link_.WriteParam(model::entry::kBassAuto);
}

void ModeCommands::SceneCopy() {
    if (ws_.BassAutoControl() == 1) {
        prompts_.Warning(texts::kAutoControlBlocks);
        return;
    }
    const int from = ws_.CurrentScene();
    const int to = 1 - from;
    if (!prompts_.Question(from == 1 ? texts::kCopyDanceToSinging : texts::kCopySingingToDance))
        return;
    ws_.CopyScene(from, to);
    ws_.SetCurrentScene(to);
    ws_.ParamStore.SetValueAt(model::entry::kSceneSelect, 0, to);
    host_.ShowSceneKeys();
    undo_.ClearUndo();
    host_.RefreshPage();

    std::vector<int> entries{model::entry::kSceneSelect};
    for (int i = 0; i < model::kParamCount; ++i)
        if (ws_.IsPerScene(i)) entries.push_back(i);
    if (!WriteAll(entries)) return;  // the store keeps the copy; no "完成!"
    link_.MarkModified();
    prompts_.Warning(texts::kDone);
}

void ModeCommands::MicCopy(int page) {
    if (page != kMicKindA && page != kMicKindB) return;
    const int target = page == kMicKindA ? kMicKindB : kMicKindA;
    if (!prompts_.Question(page == kMicKindA ? texts::kCopyMic12To3 : texts::kCopyMic3To12)) return;
    ws_.CopyMicrophones(page, target);
    std::vector<int> entries;
    const int count = ws_.MenuKindLast(kMicKindA) - ws_.MenuKindFirst(kMicKindA);
    for (int i = 0; i <= count; ++i) entries.push_back(ws_.MenuKindFirst(target) + i);
    if (!WriteAll(entries)) return;
    link_.MarkModified();
    prompts_.Warning(texts::kDone);
}

void ModeCommands::Bypass(int value) {
    const int entry = host_.BypassIndex();
    if (!ws_.ParamStore.SetValueAt(entry, 0, value)) return;
    if (link_.LinkUp()) (void)link_.WriteParam(entry);
    host_.RedrawGraphSoon();
}

void ModeCommands::Reset() {
    undo_.PushUndo();
    const graph::CurveList& bands = host_.Bands();
    using F = model::Field;
    for (int b = 0; b < bands.CurveCount; ++b) {
        const graph::CurveBand& band = bands.Bands[static_cast<size_t>(b)];
        if (!band.IsEq()) continue;
        const int entry = band.ParamIndex;
        const model::SceneSlot* factory = ws_.ParamStore.Slot(entry, 2);
        if (!factory) continue;
        const model::SceneSlot copy = *factory;
        for (const F field : {F::Gain, F::Q, F::ShelfQ, F::Freq, F::EQdisabled, F::QType})
            ws_.SetFieldBothScenes(entry, field, model::GetField(copy, field));
        if (link_.LinkUp() && !link_.WriteParam(entry)) break;
    }
    host_.RefreshPage();
}

}  // namespace vellora::editor
