// The controls gallery: every slider form and value type, every flag-button list, every list
// box face and the progress bar, in each of their states, on console panels. Rendered to PNG
// files (vellora --gallery DIR) or shown live in a window.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "controls/control_context.h"
#include "model/workspace.h"

class QWidget;

namespace vellora::app {

class GalleryPanel;

/// Addresses of the workspace that give the gallery its states.
struct GalleryAddrs {
    int perScene = -1;  ///< a parameter kept per scene
    int shared = -1;    ///< a parameter shared by both scenes
    int locked = -1;    ///< a parameter whose lock byte is set
    int mute = -1;      ///< a channel mute entry
};

class ControlGallery {
public:
    /// `ws` must hold the defaults; the gallery sets a lock byte and a mute in it.
    ControlGallery(model::Workspace& ws, const controls::ControlContext& context);
    ~ControlGallery();

    /// Builds the panels (each owns its controls); `interactive` leaves pressed states out.
    std::vector<std::unique_ptr<GalleryPanel>> BuildPanels(bool interactive);
    /// A panel's file name, e.g. "slider_fader".
    [[nodiscard]] static QString FileName(int panelIndex);

    /// Renders every panel to DIR/<name>.png and a contact sheet DIR/contact_sheet.png (and a
    /// sheet at twice the density). Returns the written files; `error` tells what failed.
    QStringList RenderTo(const QString& dir, QString& error);

private:
    GalleryPanel* SliderPanel(int which, bool interactive);
    GalleryPanel* ButtonPanel(bool interactive);
    GalleryPanel* ComboPanel(bool interactive);
    GalleryPanel* ProgressPanel();

    model::Workspace& ws_;
    controls::ControlContext context_;
    GalleryAddrs addrs_;
};

}  // namespace vellora::app
