// The frames and controls of frmProgramManager and frmProgram2.
#include "admin/mode_manager_layout.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "controls/c_progress_bar.h"
#include "graph/picture_store.h"

namespace vellora::admin {

namespace {

using K = ControlKind;

constexpr std::array<ControlSpec, 6> kManagerFrames{{
    {"fraUpdate", K::Frame, "", 10, 8, 370, 164, "更新设备模式："},
    {"fraLocal", K::Frame, "", 390, 8, 370, 164, "本地电脑："},
    {"fraBatch", K::Frame, "", 10, 180, 750, 324, "批量导入导出："},
    {"fraRights", K::Frame, "", 10, 512, 250, 80, "权限管理："},
    {"fraPanelLock", K::Frame, "", 10, 600, 250, 80, "自动键盘锁："},
    {"fraPasswords", K::Frame, "", 270, 512, 490, 168, "密码修改："},
}};

constexpr std::array<ControlSpec, 3> kProgram2Frames{{
    {"fraRights", K::Frame, "", 10, 8, 250, 80, "权限管理："},
    {"fraPanelLock", K::Frame, "", 10, 96, 250, 80, "自动键盘锁："},
    {"fraPasswords", K::Frame, "", 270, 8, 490, 168, "密码修改："},
}};

constexpr std::array kControls{
    // 更新设备模式：
    ControlSpec{"lblMode", K::Label, "fraUpdate", 15, 28, 90, 22, "模式号选择："},
    ControlSpec{"Combo1", K::Combo, "fraUpdate", 105, 28, 120, 22, ""},
    ControlSpec{"lblName", K::Label, "fraUpdate", 15, 58, 90, 22, "模式名称："},
    ControlSpec{"Text1", K::Text, "fraUpdate", 105, 58, 250, 22, ""},
    ControlSpec{"Command1", K::Button, "fraUpdate", 15, 92, 340, 28,
                "读取：从设备读取指定模式的所有数据"},
    ControlSpec{"Command2", K::Button, "fraUpdate", 15, 126, 340, 28,
                "写入：将当前数据保存为设备的指定模式"},
    // 本地电脑：
    ControlSpec{"Command20", K::Button, "fraLocal", 15, 28, 105, 28, "打开文件"},
    ControlSpec{"Command3", K::Button, "fraLocal", 130, 28, 105, 28, "保存文件"},
    ControlSpec{"cmdSnapshots", K::Button, "fraLocal", 245, 28, 110, 28, "快照文件夹"},
    ControlSpec{"lblFolder", K::Label, "fraLocal", 15, 62, 340, 50, ""},
    ControlSpec{"C_ProgressBar1", K::Progress, "fraLocal", 15, 122, 340, 28, ""},
    // 批量导入导出：
    ControlSpec{"lblRom", K::Label, "fraBatch", 15, 22, 200, 18, "ROM预览区："},
    ControlSpec{"List2", K::Header, "fraBatch", 15, 42, 330, 22, ""},
    ControlSpec{"List1", K::List, "fraBatch", 15, 64, 330, 186, ""},
    ControlSpec{"Command18", K::Button, "fraBatch", 15, 256, 50, 26, "全选"},
    ControlSpec{"Command19", K::Button, "fraBatch", 71, 256, 50, 26, "全否"},
    ControlSpec{"Command14", K::Button, "fraBatch", 127, 256, 50, 26, "上移"},
    ControlSpec{"Command15", K::Button, "fraBatch", 183, 256, 50, 26, "下移"},
    ControlSpec{"Command16", K::Button, "fraBatch", 239, 256, 50, 26, "移除"},
    ControlSpec{"Command17", K::Button, "fraBatch", 295, 256, 50, 26, "清空"},
    ControlSpec{"Command8", K::Button, "fraBatch", 15, 288, 330, 28, "批量上传到设备中"},
    ControlSpec{"Command9", K::Button, "fraBatch", 355, 116, 40, 30, ">>"},
    ControlSpec{"Command10", K::Button, "fraBatch", 355, 156, 40, 30, "<<"},
    ControlSpec{"lblFiles", K::Label, "fraBatch", 405, 22, 200, 18, "本地电脑中的文件："},
    ControlSpec{"List3", K::Header, "fraBatch", 405, 42, 330, 22, ""},
    ControlSpec{"List4", K::List, "fraBatch", 405, 64, 330, 186, ""},
    ControlSpec{"Command11", K::Button, "fraBatch", 405, 256, 60, 26, "全选"},
    ControlSpec{"Command12", K::Button, "fraBatch", 471, 256, 60, 26, "全否"},
    ControlSpec{"Command13", K::Button, "fraBatch", 537, 256, 60, 26, "删除"},
    ControlSpec{"lblMoreFiles", K::Label, "fraBatch", 405, 288, 330, 28, ""},
    // 权限管理：
    ControlSpec{"Option2_1", K::Option, "fraRights", 15, 24, 80, 22, "管理员"},
    ControlSpec{"Option2_0", K::Option, "fraRights", 105, 24, 80, 22, "来宾"},
    ControlSpec{"lblAdminPassword", K::Label, "fraRights", 15, 50, 45, 22, "密码："},
    ControlSpec{"Text9", K::Password, "fraRights", 60, 50, 110, 22, ""},
    ControlSpec{"Command5", K::Button, "fraRights", 178, 48, 60, 26, "确认"},
    // 自动键盘锁：
    ControlSpec{"Option1_1", K::Option, "fraPanelLock", 15, 24, 80, 22, "启用"},
    ControlSpec{"Option1_0", K::Option, "fraPanelLock", 105, 24, 80, 22, "禁用"},
    ControlSpec{"lblPanelPassword", K::Label, "fraPanelLock", 15, 50, 45, 22, "密码："},
    ControlSpec{"Text8", K::Password, "fraPanelLock", 60, 50, 110, 22, ""},
    ControlSpec{"Command4", K::Button, "fraPanelLock", 178, 48, 60, 26, "确认"},
    // 密码修改：
    ControlSpec{"lblAdminChange", K::Label, "fraPasswords", 15, 22, 200, 20, "权限管理："},
    ControlSpec{"lblOld1", K::Label, "fraPasswords", 15, 48, 70, 22, "旧密码："},
    ControlSpec{"Text2", K::Password, "fraPasswords", 85, 48, 140, 22, ""},
    ControlSpec{"lblNew1", K::Label, "fraPasswords", 15, 76, 70, 22, "新密码："},
    ControlSpec{"Text3", K::Password, "fraPasswords", 85, 76, 140, 22, ""},
    ControlSpec{"lblConfirm1", K::Label, "fraPasswords", 15, 104, 70, 22, "确认密码："},
    ControlSpec{"Text4", K::Password, "fraPasswords", 85, 104, 140, 22, ""},
    ControlSpec{"Command6", K::Button, "fraPasswords", 85, 134, 140, 26, "修改"},
    ControlSpec{"lblPanelChange", K::Label, "fraPasswords", 255, 22, 200, 20, "自动键盘锁："},
    ControlSpec{"lblOld2", K::Label, "fraPasswords", 255, 48, 70, 22, "旧密码："},
    ControlSpec{"Text5", K::Password, "fraPasswords", 325, 48, 140, 22, ""},
    ControlSpec{"lblNew2", K::Label, "fraPasswords", 255, 76, 70, 22, "新密码："},
    ControlSpec{"Text6", K::Password, "fraPasswords", 325, 76, 140, 22, ""},
    ControlSpec{"lblConfirm2", K::Label, "fraPasswords", 255, 104, 70, 22, "确认密码："},
    ControlSpec{"Text7", K::Password, "fraPasswords", 325, 104, 140, 22, ""},
    ControlSpec{"Command7", K::Button, "fraPasswords", 325, 134, 140, 26, "修改"},
};

// The lists line up their name column by GBK bytes, so they need a face whose Chinese
// characters are exactly two Latin ones wide.
QFont ListFont() {
    QFont font;
    font.setFamilies({QStringLiteral("新宋体"), QStringLiteral("NSimSun"),
                      QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(graph::kUiFontPixels);
    return font;
}

QWidget* Make(const ControlSpec& spec, QWidget* parent) {
    const QString caption = QString::fromUtf8(spec.Caption);
    switch (spec.Kind) {
        case K::Frame:
            return new QGroupBox(caption, parent);
        case K::Label: {
            auto* label = new QLabel(caption, parent);
            label->setWordWrap(true);
            return label;
        }
        case K::Button:
            return new QPushButton(caption, parent);
        case K::Text:
            return new QLineEdit(parent);
        case K::Password: {
            auto* edit = new QLineEdit(parent);
            edit->setEchoMode(QLineEdit::Password);
            return edit;
        }
        case K::Option:
            return new QRadioButton(caption, parent);
        case K::Combo:
            return new QComboBox(parent);
        case K::List:
        case K::Header: {
            auto* list = new QListWidget(parent);
            list->setFont(ListFont());
            list->setSelectionMode(spec.Kind == K::List ? QAbstractItemView::ExtendedSelection
                                                        : QAbstractItemView::NoSelection);
            list->setFocusPolicy(spec.Kind == K::List ? Qt::StrongFocus : Qt::NoFocus);
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            if (spec.Kind == K::Header) list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            return list;
        }
        case K::Progress: {
            auto* bar = new controls::C_ProgressBar(parent);
            bar->hide();
            return bar;
        }
    }
    return nullptr;
}

}  // namespace

std::span<const ControlSpec> ManagerFrames() {
    return kManagerFrames;
}

std::span<const ControlSpec> Program2Frames() {
    return kProgram2Frames;
}

std::span<const ControlSpec> FrameControls() {
    return kControls;
}

void BuildControls(QWidget* window, std::span<const ControlSpec> frames, ControlMap& map) {
    QFont font;
    font.setFamilies(
        {QString::fromUtf8(graph::kUiFontFamily), QString::fromLatin1(graph::kUiFontSubstitute)});
    font.setPixelSize(graph::kUiFontPixels);
    window->setFont(font);
    QHash<QString, QWidget*> frameWidgets;
    for (const ControlSpec& spec : frames) {
        QWidget* frame = Make(spec, window);
        frame->setObjectName(QString::fromLatin1(spec.Name));
        frame->setGeometry(spec.X, spec.Y, spec.W, spec.H);
        frameWidgets.insert(frame->objectName(), frame);
        map.Add(frame->objectName(), frame);
    }
    for (const ControlSpec& spec : FrameControls()) {
        QWidget* frame = frameWidgets.value(QString::fromLatin1(spec.Frame));
        if (!frame) continue;
        QWidget* widget = Make(spec, frame);
        widget->setObjectName(QString::fromLatin1(spec.Name));
        widget->setGeometry(spec.X, spec.Y, spec.W, spec.H);
        map.Add(widget->objectName(), widget);
    }
}

}  // namespace vellora::admin
