// The frames and controls of frmProgramManager and frmProgram2.
#include "admin/mode_manager_layout.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <string_view>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "controls/c_progress_bar.h"
#include "graph/picture_store.h"

namespace vellora::admin {

namespace {

using K = ControlKind;

constexpr std::array<ControlRow, 6> kManagerFrames{{
    {"fraUpdate", K::Frame, "", 10, 8, 370, 164, "更新设备模式："},
    {"fraLocal", K::Frame, "", 390, 8, 370, 164, "本地电脑："},
    {"fraBatch", K::Frame, "", 10, 180, 750, 324, "批量导入导出："},
    {"fraRights", K::Frame, "", 10, 512, 250, 80, "权限管理："},
    {"fraPanelLock", K::Frame, "", 10, 600, 250, 80, "自动键盘锁："},
    {"fraPasswords", K::Frame, "", 270, 512, 490, 168, "密码修改："},
}};

constexpr std::array<ControlRow, 3> kProgram2Frames{{
    {"fraRights", K::Frame, "", 10, 8, 250, 80, "权限管理："},
    {"fraPanelLock", K::Frame, "", 10, 96, 250, 80, "自动键盘锁："},
    {"fraPasswords", K::Frame, "", 270, 8, 490, 168, "密码修改："},
}};

constexpr std::array kControls{
    // 更新设备模式：
    ControlRow{"lblMode", K::Label, "fraUpdate", 15, 28, 90, 22, "模式号选择："},
    ControlRow{"Combo1", K::Combo, "fraUpdate", 105, 28, 120, 22, ""},
    ControlRow{"lblName", K::Label, "fraUpdate", 15, 58, 90, 22, "模式名称："},
    ControlRow{"Text1", K::Text, "fraUpdate", 105, 58, 250, 22, ""},
    ControlRow{"Command1", K::Button, "fraUpdate", 15, 92, 340, 28,
               "读取：从设备读取指定模式的所有数据"},
    ControlRow{"Command2", K::Button, "fraUpdate", 15, 126, 340, 28,
               "写入：将当前数据保存为设备的指定模式"},
    // 本地电脑：
    ControlRow{"Command20", K::Button, "fraLocal", 15, 28, 105, 28, "打开文件"},
    ControlRow{"Command3", K::Button, "fraLocal", 130, 28, 105, 28, "保存文件"},
    ControlRow{"cmdSnapshots", K::Button, "fraLocal", 245, 28, 110, 28, "快照文件夹"},
    ControlRow{"lblFolder", K::Label, "fraLocal", 15, 62, 340, 50, ""},
    ControlRow{"C_ProgressBar1", K::Progress, "fraLocal", 15, 122, 340, 28, ""},
    // 批量导入导出：
    ControlRow{"lblRom", K::Label, "fraBatch", 15, 22, 200, 18, "ROM预览区："},
    ControlRow{"List2", K::Header, "fraBatch", 15, 42, 330, 22, ""},
    ControlRow{"List1", K::List, "fraBatch", 15, 64, 330, 186, ""},
    ControlRow{"Command18", K::Button, "fraBatch", 15, 256, 50, 26, "全选"},
    ControlRow{"Command19", K::Button, "fraBatch", 71, 256, 50, 26, "全否"},
    ControlRow{"Command14", K::Button, "fraBatch", 127, 256, 50, 26, "上移"},
    ControlRow{"Command15", K::Button, "fraBatch", 183, 256, 50, 26, "下移"},
    ControlRow{"Command16", K::Button, "fraBatch", 239, 256, 50, 26, "移除"},
    ControlRow{"Command17", K::Button, "fraBatch", 295, 256, 50, 26, "清空"},
    ControlRow{"Command8", K::Button, "fraBatch", 15, 288, 330, 28, "批量上传到设备中"},
    ControlRow{"Command9", K::Button, "fraBatch", 355, 116, 40, 30, ">>"},
    ControlRow{"Command10", K::Button, "fraBatch", 355, 156, 40, 30, "<<"},
    ControlRow{"lblFiles", K::Label, "fraBatch", 405, 22, 200, 18, "本地电脑中的文件："},
    ControlRow{"List3", K::Header, "fraBatch", 405, 42, 330, 22, ""},
    ControlRow{"List4", K::List, "fraBatch", 405, 64, 330, 186, ""},
    ControlRow{"Command11", K::Button, "fraBatch", 405, 256, 60, 26, "全选"},
    ControlRow{"Command12", K::Button, "fraBatch", 471, 256, 60, 26, "全否"},
    ControlRow{"Command13", K::Button, "fraBatch", 537, 256, 60, 26, "删除"},
    ControlRow{"lblMoreFiles", K::Label, "fraBatch", 405, 288, 330, 28, ""},
    // 权限管理：
    ControlRow{"Option2_1", K::Option, "fraRights", 15, 24, 80, 22, "管理员"},
    ControlRow{"Option2_0", K::Option, "fraRights", 105, 24, 80, 22, "来宾"},
    ControlRow{"lblAdminPassword", K::Label, "fraRights", 15, 50, 45, 22, "密码："},
    ControlRow{"Text9", K::Password, "fraRights", 60, 50, 110, 22, ""},
    ControlRow{"Command5", K::Button, "fraRights", 178, 48, 60, 26, "确认"},
    // 自动键盘锁：
    ControlRow{"Option1_1", K::Option, "fraPanelLock", 15, 24, 80, 22, "启用"},
    ControlRow{"Option1_0", K::Option, "fraPanelLock", 105, 24, 80, 22, "禁用"},
    ControlRow{"lblPanelPassword", K::Label, "fraPanelLock", 15, 50, 45, 22, "密码："},
    ControlRow{"Text8", K::Password, "fraPanelLock", 60, 50, 110, 22, ""},
    ControlRow{"Command4", K::Button, "fraPanelLock", 178, 48, 60, 26, "确认"},
    // 密码修改：
    ControlRow{"lblAdminChange", K::Label, "fraPasswords", 15, 22, 200, 20, "权限管理："},
    ControlRow{"lblOld1", K::Label, "fraPasswords", 15, 48, 70, 22, "旧密码："},
    ControlRow{"Text2", K::Password, "fraPasswords", 85, 48, 140, 22, ""},
    ControlRow{"lblNew1", K::Label, "fraPasswords", 15, 76, 70, 22, "新密码："},
    ControlRow{"Text3", K::Password, "fraPasswords", 85, 76, 140, 22, ""},
    ControlRow{"lblConfirm1", K::Label, "fraPasswords", 15, 104, 70, 22, "确认密码："},
    ControlRow{"Text4", K::Password, "fraPasswords", 85, 104, 140, 22, ""},
    ControlRow{"Command6", K::Button, "fraPasswords", 85, 134, 140, 26, "修改"},
    ControlRow{"lblPanelChange", K::Label, "fraPasswords", 255, 22, 200, 20, "自动键盘锁："},
    ControlRow{"lblOld2", K::Label, "fraPasswords", 255, 48, 70, 22, "旧密码："},
    ControlRow{"Text5", K::Password, "fraPasswords", 325, 48, 140, 22, ""},
    ControlRow{"lblNew2", K::Label, "fraPasswords", 255, 76, 70, 22, "新密码："},
    ControlRow{"Text6", K::Password, "fraPasswords", 325, 76, 140, 22, ""},
    ControlRow{"lblConfirm2", K::Label, "fraPasswords", 255, 104, 70, 22, "确认密码："},
    ControlRow{"Text7", K::Password, "fraPasswords", 325, 104, 140, 22, ""},
    ControlRow{"Command7", K::Button, "fraPasswords", 325, 134, 140, 26, "修改"},
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

QWidget* Make(const ControlRow& row, QWidget* parent) {
    const QString caption = QString::fromUtf8(row.Caption);
    switch (row.Kind) {
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
            list->setSelectionMode(row.Kind == K::List ? QAbstractItemView::ExtendedSelection
                                                       : QAbstractItemView::NoSelection);
            list->setFocusPolicy(row.Kind == K::List ? Qt::StrongFocus : Qt::NoFocus);
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            if (row.Kind == K::Header) {
                list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                list->setProperty("listHeader", true);
            }
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

// What assistive technology and scripts call the controls whose own text is not enough: the
// boxes named by the label beside them, and the buttons whose captions repeat in another frame.
struct SpokenName {
    const char* Control;
    const char* Name;
};
constexpr SpokenName kSpokenNames[] = {
    {"Combo1", "模式号选择"},
    {"Text1", "模式名称"},
    {"List1", "ROM预览区"},
    {"List4", "本地电脑中的文件"},
    {"Command18", "ROM预览区全选"},
    {"Command19", "ROM预览区全否"},
    {"Command11", "文件全选"},
    {"Command12", "文件全否"},
    {"Text9", "权限管理密码"},
    {"Command5", "权限管理确认"},
    {"Text8", "自动键盘锁密码"},
    {"Command4", "自动键盘锁确认"},
    {"Text2", "权限管理旧密码"},
    {"Text3", "权限管理新密码"},
    {"Text4", "权限管理确认密码"},
    {"Command6", "权限管理修改"},
    {"Text5", "自动键盘锁旧密码"},
    {"Text6", "自动键盘锁新密码"},
    {"Text7", "自动键盘锁确认密码"},
    {"Command7", "自动键盘锁修改"},
};

void NameForAssistiveTechnology(QWidget* widget, std::string_view control) {
    for (const SpokenName& n : kSpokenNames)
        if (control == n.Control) widget->setAccessibleName(QString::fromUtf8(n.Name));
}

}  // namespace

std::span<const ControlRow> ManagerFrames() {
    return kManagerFrames;
}

std::span<const ControlRow> Program2Frames() {
    return kProgram2Frames;
}

std::span<const ControlRow> FrameControls() {
    return kControls;
}

void BuildControls(QWidget* window, std::span<const ControlRow> frames, ControlMap& map) {
    QFont font;
    font.setFamilies(
        {QString::fromUtf8(graph::kUiFontFamily), QString::fromLatin1(graph::kUiFontSubstitute)});
    font.setPixelSize(graph::kUiFontPixels);
    window->setFont(font);
    QHash<QString, QWidget*> frameWidgets;
    for (const ControlRow& row : frames) {
        QWidget* frame = Make(row, window);
        frame->setObjectName(QString::fromLatin1(row.Name));
        frame->setGeometry(row.X, row.Y, row.W, row.H);
        frameWidgets.insert(frame->objectName(), frame);
        map.Add(frame->objectName(), frame);
    }
    for (const ControlRow& row : FrameControls()) {
        QWidget* frame = frameWidgets.value(QString::fromLatin1(row.Frame));
        if (!frame) continue;
        QWidget* widget = Make(row, frame);
        widget->setObjectName(QString::fromLatin1(row.Name));
        widget->setGeometry(row.X, row.Y, row.W, row.H);
        NameForAssistiveTechnology(widget, row.Name);
        map.Add(widget->objectName(), widget);
    }
}

}  // namespace vellora::admin
