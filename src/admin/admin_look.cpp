// Painting the administration windows' panels, and the palette and style sheet that give their
// standard widgets and the launcher's menus the editor's console look.
#include "admin/admin_look.h"

#include <QComboBox>
#include <QLinearGradient>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QWidget>
#include <array>

#include "controls/control_art.h"
#include "graph/picture_store.h"

namespace vellora::admin {

namespace {

using controls::art::kAccent;
using controls::art::kInk;

// The panels' gradient, the editor's.
const QColor kPanelTop(31, 35, 43);
const QColor kPanelBottom(19, 22, 27);

// A style sheet's colours by name; "{ink}" in a rule stands for kInk. The keys' faces are the
// editor's raised, lit, pressed and locked keys.
struct Named {
    const char* Name;
    QColor Colour;
};
const std::array kColours{
    Named{"{ink}", kInk},
    Named{"{ink-off}", QColor(122, 129, 140)},  // disabled text: dimmer, still readable
    Named{"{ink-on-accent}", QColor(10, 12, 15)},
    Named{"{caption}", kCaptionInk},
    Named{"{accent}", kAccent},
    Named{"{panel-top}", kPanelTop},
    Named{"{panel-bottom}", kPanelBottom},
    Named{"{panel}", QColor(25, 28, 34)},
    Named{"{frame}", QColor(17, 19, 24)},
    Named{"{frame-edge}", QColor(7, 8, 10)},
    Named{"{well}", QColor(12, 14, 18)},  // edits and lists
    Named{"{well-off}", QColor(22, 25, 30)},
    Named{"{edge}", QColor(62, 69, 81)},  // edits, lists, indicators
    Named{"{edge-off}", QColor(42, 47, 56)},
    Named{"{header}", QColor(36, 40, 48)},
    Named{"{menu}", QColor(27, 30, 37)},
    Named{"{key-top}", QColor(58, 64, 75)},
    Named{"{key-bottom}", QColor(33, 37, 44)},
    Named{"{key-hover-top}", QColor(69, 76, 89)},
    Named{"{key-hover-bottom}", QColor(40, 45, 53)},
    Named{"{key-down-top}", QColor(24, 27, 32)},
    Named{"{key-down-bottom}", QColor(38, 42, 50)},
    Named{"{key-lit-top}", QColor(46, 78, 112)},
    Named{"{key-lit-bottom}", QColor(24, 44, 68)},
    Named{"{key-off-top}", QColor(44, 46, 51)},
    Named{"{key-off-bottom}", QColor(34, 36, 40)},
    Named{"{key-edge}", QColor(10, 11, 14)},
    Named{"{key-edge-off}", QColor(18, 20, 24)},
    Named{"{scroll}", QColor(58, 64, 75)},
    Named{"{scroll-hover}", QColor(74, 82, 96)},
};

QColor Colour(const char* name) {
    for (const Named& n : kColours)
        if (QLatin1String(n.Name) == QLatin1String(name)) return n.Colour;
    return {};
}

QString Filled(QString rules) {
    for (const Named& n : kColours)
        rules.replace(QLatin1String(n.Name), n.Colour.name(QColor::HexRgb));
    return rules;
}

// A vertical gradient between two named colours.
QString Gradient(const char* top, const char* bottom) {
    return QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)")
        .arg(QLatin1String(top), QLatin1String(bottom));
}

// A round option's dot of `dot` on `well`.
QString Dot(const char* dot, const char* well) {
    return QStringLiteral(
               "qradialgradient(cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5, stop:0 %1,"
               " stop:0.45 %1, stop:0.6 %2, stop:1 %2)")
        .arg(QLatin1String(dot), QLatin1String(well));
}

// The rules shared by the windows and the menu bar: menus and their entries.
QString MenuRules() {
    return QStringLiteral(
        "QMenu { background: {menu}; color: {ink}; border: 1px solid #000000; padding: 3px; }"
        "QMenu::item { padding: 4px 24px 4px 22px; background: transparent; }"
        "QMenu::item:selected { background: {accent}; color: {ink-on-accent}; }"
        "QMenu::item:disabled { color: {ink-off}; }"
        "QMenu::item:disabled:selected { background: {header}; color: {ink-off}; }"
        "QMenu::separator { height: 1px; background: {edge}; margin: 3px 6px; }"
        "QMenu::indicator { width: 11px; height: 11px; left: 6px; border-radius: 2px;"
        " border: 1px solid {edge}; background: {well}; }"
        "QMenu::indicator:checked { border: 1px solid {accent}; background: {accent};"
        " image: url(:/admin/look/menu_check.xpm); }");
}

}  // namespace

void PaintRowLabel(QPainter& p, const QRect& r, const QString& text) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF plate(r.left() + 0.5, r.center().y() - 14.5, r.width() - 1, 29);
    p.setPen(QPen(QColor(0, 0, 0, 120), 1.0));
    p.setBrush(QColor(12, 14, 18, 140));
    p.drawRoundedRect(plate, 4, 4);
    p.fillRect(QRectF(plate.left() + 5, plate.top() + 7, 3, plate.height() - 14),
               controls::art::kAccent);
    p.setPen(controls::art::kInk);
    p.setFont(CaptionFont());
    p.drawText(plate.adjusted(12, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}

QFont CaptionFont() {
    return graph::PictureStore::UiFont();
}

QPalette AdminPalette() {
    QPalette pal;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = group == QPalette::Disabled;
        const QColor ink = Colour(off ? "{ink-off}" : "{ink}");
        pal.setColor(group, QPalette::Window, Colour("{panel}"));
        pal.setColor(group, QPalette::WindowText, ink);
        pal.setColor(group, QPalette::Base, Colour(off ? "{well-off}" : "{well}"));
        pal.setColor(group, QPalette::AlternateBase, Colour("{header}"));
        pal.setColor(group, QPalette::Text, ink);
        pal.setColor(group, QPalette::PlaceholderText, Colour("{ink-off}"));
        pal.setColor(group, QPalette::Button, Colour(off ? "{key-off-top}" : "{key-top}"));
        pal.setColor(group, QPalette::ButtonText, ink);
        pal.setColor(group, QPalette::BrightText, Qt::white);
        pal.setColor(group, QPalette::Light, Colour("{key-hover-top}"));
        pal.setColor(group, QPalette::Midlight, Colour("{key-top}"));
        pal.setColor(group, QPalette::Mid, Colour("{key-bottom}"));
        pal.setColor(group, QPalette::Dark, Colour("{key-edge-off}"));
        pal.setColor(group, QPalette::Shadow, Qt::black);
        pal.setColor(group, QPalette::Highlight, Colour(off ? "{header}" : "{accent}"));
        pal.setColor(group, QPalette::HighlightedText,
                     Colour(off ? "{ink-off}" : "{ink-on-accent}"));
        pal.setColor(group, QPalette::Link, kAccent);
        pal.setColor(group, QPalette::ToolTipBase, Colour("{menu}"));
        pal.setColor(group, QPalette::ToolTipText, kInk);
    }
    return pal;
}

QString AdminStyleSheet() {
    const QString key = Gradient("{key-top}", "{key-bottom}");
    const QString rules =
        QStringLiteral(
            "QLabel { color: {ink}; background: transparent; }"
            "QLabel:disabled { color: {ink-off}; }"
            "QGroupBox { color: {caption}; background: {frame}; border: 1px solid {frame-edge};"
            " border-radius: 4px; margin-top: 17px; }"
            "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
            " left: 1px; top: 0px; padding: 0px; }"
            "QGroupBox:disabled { color: {ink-off}; }") +
        QStringLiteral(
            "QPushButton { color: {ink}; border: 1px solid {key-edge}; border-radius: 3px;"
            " padding: 0px 6px; background: %1; }"
            "QPushButton:hover { background: %2; }"
            "QPushButton:pressed { background: %3; }"
            "QPushButton:default { color: #ffffff; border: 1px solid {accent}; background: %4; }"
            "QPushButton:focus { border: 1px solid {accent}; }"
            "QPushButton:disabled { color: {ink-off}; border: 1px solid {key-edge-off};"
            " background: %5; }")
            .arg(key, Gradient("{key-hover-top}", "{key-hover-bottom}"),
                 Gradient("{key-down-top}", "{key-down-bottom}"),
                 Gradient("{key-lit-top}", "{key-lit-bottom}"),
                 Gradient("{key-off-top}", "{key-off-bottom}")) +
        QStringLiteral(
            "QLineEdit { color: {ink}; background: {well}; border: 1px solid {edge};"
            " border-radius: 2px; padding: 0px 3px; selection-background-color: {accent};"
            " selection-color: {ink-on-accent}; }"
            "QLineEdit:focus { border: 1px solid {accent}; }"
            "QLineEdit:disabled { color: {ink-off}; background: {well-off};"
            " border: 1px solid {edge-off}; }"
            "QLineEdit[readOnly=\"true\"] { background: {well-off}; }") +
        QStringLiteral(
            "QRadioButton { color: {ink}; spacing: 6px; background: transparent; }"
            "QRadioButton:disabled { color: {ink-off}; }"
            "QRadioButton:focus { color: #ffffff; }"
            "QRadioButton::indicator { width: 11px; height: 11px; border-radius: 6px;"
            " border: 1px solid {edge}; background: {well}; }"
            "QRadioButton::indicator:focus { border: 1px solid {accent}; }"
            "QRadioButton::indicator:checked { background: %1; }"
            "QRadioButton::indicator:disabled { border: 1px solid {edge-off};"
            " background: {well-off}; }"
            "QRadioButton::indicator:checked:disabled { background: %2; }")
            .arg(Dot("{accent}", "{well}"), Dot("{ink-off}", "{well-off}")) +
        QStringLiteral(
            "QComboBox { color: {ink}; border: 1px solid {key-edge}; border-radius: 3px;"
            " padding: 0px 6px; background: %1; }"
            "QComboBox:focus { border: 1px solid {accent}; }"
            "QComboBox:disabled { color: {ink-off}; border: 1px solid {key-edge-off};"
            " background: %2; }"
            "QComboBox::drop-down { subcontrol-origin: padding; subcontrol-position: center right;"
            " width: 18px; border: none; border-left: 1px solid {key-edge}; }"
            "QComboBox::down-arrow { image: url(:/admin/look/combo_arrow.xpm);"
            " width: 9px; height: 5px; }"
            "QComboBox::down-arrow:disabled { image: url(:/admin/look/combo_arrow_disabled.xpm); }"
            "QComboBox QAbstractItemView { color: {ink}; background: {well};"
            " border: 1px solid {edge}; outline: 0px; }"
            "QComboBox QAbstractItemView::item { min-height: 20px; }"
            "QComboBox QAbstractItemView::item:selected { background: {accent};"
            " color: {ink-on-accent}; }")
            .arg(key, Gradient("{key-off-top}", "{key-off-bottom}")) +
        QStringLiteral(
            "QListWidget { color: {ink}; background: {well}; border: 1px solid {edge};"
            " outline: 0px; }"
            "QListWidget:focus { border: 1px solid {accent}; }"
            "QListWidget:disabled { color: {ink-off}; background: {well-off}; }"
            "QListWidget::item:selected { background: {accent}; color: {ink-on-accent}; }"
            "QListWidget::item:selected:!active { background: {accent}; color: {ink-on-accent}; }"
            "QListWidget::item:selected:disabled { background: {header}; color: {ink-off}; }"
            "QListWidget[listHeader=\"true\"] { color: {caption}; background: {header};"
            " border: 1px solid {edge}; border-bottom: none; }"
            "QScrollBar:vertical { background: {well}; width: 12px; margin: 0px; border: none; }"
            "QScrollBar::handle:vertical { background: {scroll}; min-height: 20px;"
            " border-radius: 3px; margin: 2px; }"
            "QScrollBar::handle:vertical:hover { background: {scroll-hover}; }"
            "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0px; }"
            "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }") +
        MenuRules();
    return Filled(rules);
}

void ApplyAdminLook(QWidget* window) {
    // The combo boxes' lists draw their rows as item views, so the style sheet's rows apply.
    for (QComboBox* combo : window->findChildren<QComboBox*>())
        combo->setItemDelegate(new QStyledItemDelegate(combo));
    window->setPalette(AdminPalette());
    window->setAttribute(Qt::WA_StyledBackground, true);
    window->setStyleSheet(
        Filled(QStringLiteral("#%1 { background: %2; }")
                   .arg(window->objectName(), Gradient("{panel-top}", "{panel-bottom}"))) +
        AdminStyleSheet());
}

void StyleMenuBar(QWidget* bar) {
    bar->setFont(CaptionFont());
    bar->setPalette(AdminPalette());
    bar->setStyleSheet(Filled(
        QStringLiteral("QMenuBar { background: %1; color: {ink}; border-bottom: 1px solid #000000;"
                       " padding: 1px 4px; }"
                       "QMenuBar::item { background: transparent; padding: 4px 10px; }"
                       "QMenuBar::item:selected { background: {key-lit-top}; color: #ffffff;"
                       " border-radius: 3px; }"
                       "QMenuBar::item:disabled { color: {ink-off}; }")
            .arg(QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #262a33,"
                                " stop:1 #171a20)")) +
        MenuRules()));
}

}  // namespace vellora::admin
