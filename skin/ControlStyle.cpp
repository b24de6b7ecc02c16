#include "skin/ControlStyle.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <string_view>
#include <utility>

#include "skin/ToolTipLook.h"

namespace zarvin {
namespace {

// Which widgets a group of rules is for: a window's sheet has all groups, a field's only those that
// can reach an edit box or drop-down (with its pop-up list, scroll bar, context menu and tip), a
// menu's only the menu's and the tip's. Each widget given a sheet keeps its own parsed copy, so
// the small sheets keep the main window lean.
enum RuleUse : unsigned { kWindows = 1, kFields = 2, kMenus = 4 };

struct RuleGroup {
    unsigned use;
    const char* rules;
};

// The rules in the order they cascade, with their colours named: {name} stands for the
// scheme's colour of that role.
const RuleGroup kRuleGroups[] = {
    {kWindows | kFields,
     "QLineEdit, QComboBox, QTableWidget, QTreeView {"
     "  background: {field}; color: {text}; border: 1px solid {fieldEdge}; border-radius: 6px;"
     "  selection-background-color: {selection}; selection-color: {bright}; }"
     "QLineEdit, QComboBox { padding: 0 8px; }"
     "QLineEdit:disabled, QComboBox:disabled { color: {disabled}; }"
     "QComboBox QAbstractItemView { background: {popup}; color: {text}; }"},
    {kWindows,
     "QTableWidget { gridline-color: {button}; }"
     "QTreeView::item { height: 24px; }"
     "QHeaderView { background: {popup}; }"
     "QHeaderView::section { background: {popup}; color: {secondary}; border: none;"
     "  border-bottom: 1px solid {divider}; padding: 3px 6px; }"
     "QCheckBox::indicator { width: 16px; height: 16px; border-radius: 4px;"
     "  border: 1px solid {edge}; background: {field}; }"
     "QCheckBox::indicator:checked { background: {accent}; border-color: {accent}; }"
     "QTableView::indicator, QTreeView::indicator { width: 14px; height: 14px;"
     "  border-radius: 3px; border: 1px solid {edgeHover}; background: {field}; }"
     "QTableView::indicator:checked, QTreeView::indicator:checked { background: {accent};"
     "  border-color: {accent}; }"},
    {kWindows | kFields,
     "QScrollBar:vertical { background: {field}; width: 12px; margin: 0; }"
     "QScrollBar:horizontal { background: {field}; height: 12px; margin: 0; }"
     "QScrollBar::handle { background: {edge}; border-radius: 4px; margin: 2px; }"
     "QScrollBar::handle:vertical { min-height: 24px; }"
     "QScrollBar::handle:horizontal { min-width: 24px; }"
     "QScrollBar::handle:hover { background: {edgeHover}; }"
     "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; }"
     "QScrollBar::add-page, QScrollBar::sub-page { background: none; }"},
    {kWindows | kFields | kMenus,
     "QToolTip { background: {popup}; color: {text}; border: 1px solid {fieldEdge}; }"
     "QMessageBox, QFileDialog, QMenu { background: {popup}; color: {text}; }"},
    {kWindows,
     "QMessageBox QLabel { color: {text}; }"
     "QMessageBox QPushButton, QFileDialog QPushButton { background: {button}; color: {text};"
     "  border: 1px solid {edge}; border-radius: 5px; padding: 4px 14px; }"},
    {kWindows | kFields | kMenus, "QMenu::item:selected { background: {selection}; }"},
    // Style sheet colours do not pass to child widgets: the file and colour dialogs' own
    // labels, lists and tool buttons are named here, or they keep light-theme colours.
    {kWindows,
     "QFileDialog QLabel, QFileDialog QCheckBox, QColorDialog, QColorDialog QLabel {"
     "  background: {popup}; color: {text}; }"
     "QFileDialog QListView, QFileDialog QTreeView, QFileDialog QListView::item {"
     "  background: {field}; color: {text}; }"
     "QFileDialog QListView::item:selected { background: {selection}; color: {bright}; }"
     "QFileDialog QToolButton, QColorDialog QPushButton { background: {button}; color: {text};"
     "  border: 1px solid {edge}; border-radius: 4px; padding: 3px; }"
     "QColorDialog QLineEdit, QColorDialog QSpinBox { background: {field}; color: {text}; }"
     "QFrame#ColourPopup { background: {popup}; border: 1px solid {fieldEdge}; }"
     "QFrame#ColourPopup QToolButton { color: {text}; border-radius: 4px; padding: 2px; }"
     "QFrame#ColourPopup QToolButton:hover { background: {selection}; }"
     "QDialog#AboutBox { background: {popup}; }"
     "QDialog#AboutBox QLabel { color: {aboutText}; }"
     "QDialog#AboutBox QLabel#AboutName { color: {bright}; font-size: 18px; font-weight: 600; }"
     "QDialog#AboutBox QPushButton { background: {button}; color: {text};"
     "  border: 1px solid {edge}; border-radius: 5px; padding: 5px 18px; }"
     "QDialog#AboutBox QPushButton:hover { border-color: {accent}; color: {accent}; }"},
    // The focus ring of the plain controls, in the accent colour as on the skin's own.
    {kWindows | kFields,
     "QLineEdit:focus, QComboBox:focus, QTableWidget:focus, QTreeView:focus,"
     "  QPushButton:focus { border: 2px solid {accent}; }"},
    {kWindows,
     "QCheckBox::indicator:focus { border: 2px solid {accent}; }"
     "QToolButton:focus { border: 2px solid {accent}; border-radius: 3px; }"}};

using SchemeColours = std::pair<const char*, const char*>[14];

const SchemeColours kDarkColours = {
    {"{field}", "#14161a"},  {"{text}", "#e4e7ec"},      {"{fieldEdge}", "#30343d"},
    {"{selection}", "#4a2b0e"}, {"{bright}", "#ffffff"}, {"{disabled}", "#6b717c"},
    {"{popup}", "#1b1e24"},  {"{button}", "#262a31"},    {"{secondary}", "#9aa1ad"},
    {"{divider}", "#2a2e36"}, {"{edge}", "#383d47"},     {"{accent}", "#ff8200"},
    {"{edgeHover}", "#4a505b"}, {"{aboutText}", "#c9ced6"}};

const SchemeColours kLightColours = {
    {"{field}", "#ffffff"},  {"{text}", "#1d2127"},      {"{fieldEdge}", "#c2c7cf"},
    {"{selection}", "#ffd9b3"}, {"{bright}", "#000000"}, {"{disabled}", "#9aa0aa"},
    {"{popup}", "#f7f8fa"},  {"{button}", "#e3e6ea"},    {"{secondary}", "#555c68"},
    {"{divider}", "#dcdfe4"}, {"{edge}", "#b8bec8"},     {"{accent}", "#e06c00"},
    {"{edgeHover}", "#9aa1ad"}, {"{aboutText}", "#3a4049"}};

QLatin1String ColourOf(const SchemeColours& colours, std::string_view name) {
    for (const auto& [role, colour] : colours) {
        if (name == role) {
            return QLatin1String(colour);
        }
    }
    return {};
}

// The colours of the scheme applied last; none until a scheme is applied.
const SchemeColours* coloursInUse = nullptr;

// The rule groups for `use` in the colours in use.
QString SheetFor(unsigned use) {
    QString sheet;
    for (const RuleGroup& group : kRuleGroups) {
        if ((group.use & use) != 0) {
            sheet += QLatin1String(group.rules);
        }
    }
    for (const auto& [name, colour] : *coloursInUse) {
        sheet.replace(QLatin1String(name), QLatin1String(colour));
    }
    return sheet;
}

void GiveSheet(QWidget& widget, unsigned use) {
    if (coloursInUse != nullptr) {
        widget.setStyleSheet(SheetFor(use));
    }
}

}  // namespace

void ApplyControlStyle(ColourScheme scheme) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    QApplication::setFont(font);
    const SchemeColours& colours = scheme == ColourScheme::Light ? kLightColours : kDarkColours;
    coloursInUse = &colours;
    // Tool tips of widgets that carry no sheet (the skinned buttons) look as the sheet's do.
    UseToolTipLook({QColor(ColourOf(colours, "{popup}")), QColor(ColourOf(colours, "{text}")),
                    QColor(ColourOf(colours, "{fieldEdge}"))});
    // The report lists draw their grid lines in the palette's mid colour.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Mid, QColor(ColourOf(colours, "{button}")));
    // Lists grey out secondary columns in the disabled text colour, whose default is too faint
    // on light fields.
    if (scheme == ColourScheme::Light) {
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7b, 0x81, 0x8c));
    }
    QApplication::setPalette(palette);
    // A drop-down's pop-up frame, which no sheet reaches, is drawn in the palette of a plain
    // menu, and falls back to the application's where that menu's palette is its natural one:
    // the frame's own class gets the sheet's menu colours.
    QPalette menu = palette;
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window}) {
        menu.setColor(role, QColor(ColourOf(colours, "{popup}")));
    }
    for (const QPalette::ColorRole role :
         {QPalette::ButtonText, QPalette::WindowText, QPalette::Text}) {
        menu.setColor(role, QColor(ColourOf(colours, "{text}")));
    }
    QApplication::setPalette(menu, "QComboBoxPrivateContainer");
}

void StyleControls(QWidget& window) {
    GiveSheet(window, kWindows);
}

void StyleField(QWidget& field) {
    GiveSheet(field, kFields);
}

void StyleMenu(QWidget& menu) {
    GiveSheet(menu, kMenus);
}

}  // namespace zarvin
