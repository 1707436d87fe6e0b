// The two windows of the mode manager as data: one table of frames per window and one table of
// controls per frame (name, kind, position inside the frame in pixels, caption), built by one
// function. Names are the controls' names; an option of a pair is "Option2_1" (its index).
#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <span>

namespace vellora::admin {

enum class ControlKind : uint8_t {
    Frame,     ///< QGroupBox with a caption
    Label,     ///< QLabel
    Button,    ///< QPushButton
    Text,      ///< QLineEdit
    Password,  ///< QLineEdit showing no digits
    Option,    ///< QRadioButton; the two of a frame form a pair
    Combo,     ///< QComboBox
    List,      ///< QListWidget, several rows may be selected
    Header,    ///< QListWidget of one header row, no selection
    Progress,  ///< controls::C_ProgressBar, hidden until a transfer runs
};

struct ControlRow {
    const char* Name;
    ControlKind Kind;
    const char* Frame;  ///< the frame it sits in; for a frame itself: ""
    int X, Y, W, H;
    const char* Caption;
};

/// The controls of a built window by name.
class ControlMap {
public:
    void Add(const QString& name, QWidget* widget) { widgets_.insert(name, widget); }
    /// nullptr when the window has no such control (or it is of another type).
    template <typename T>
    [[nodiscard]] T* Get(const QString& name) const {
        return qobject_cast<T*>(widgets_.value(name));
    }
    [[nodiscard]] bool Has(const QString& name) const { return widgets_.contains(name); }

private:
    QHash<QString, QWidget*> widgets_;
};

/// Frames of frmProgramManager and frmProgram2, and the window sizes.
[[nodiscard]] std::span<const ControlRow> ManagerFrames();
[[nodiscard]] std::span<const ControlRow> Program2Frames();
inline constexpr int kManagerWidth = 770;
inline constexpr int kManagerHeight = 688;
inline constexpr int kProgram2Width = 770;
inline constexpr int kProgram2Height = 188;

/// The controls of every frame; a window builds those whose frame it has.
[[nodiscard]] std::span<const ControlRow> FrameControls();

/// Builds `frames`, then the controls of FrameControls() in them, on `window`, in the font of
/// the program's texts ("宋体", 12 pixels); every widget gets its name as object name.
void BuildControls(QWidget* window, std::span<const ControlRow> frames, ControlMap& map);

}  // namespace vellora::admin
