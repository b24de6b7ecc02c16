#include "skin/ControlStyle.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QPalette>

namespace zarvin {

void ApplyControlStyle(QApplication& application) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    QApplication::setFont(font);
    application.setStyleSheet(QStringLiteral(
        "QLineEdit, QComboBox, QTableWidget, QTreeView {"
        "  background: #14161a; color: #e4e7ec; border: 1px solid #30343d; border-radius: 6px;"
        "  selection-background-color: #4a2b0e; selection-color: #ffffff; }"
        "QLineEdit, QComboBox { padding: 0 8px; }"
        "QLineEdit:disabled, QComboBox:disabled { color: #6b717c; }"
        "QComboBox QAbstractItemView { background: #1b1e24; color: #e4e7ec; }"
        "QTableWidget { gridline-color: #262a31; }"
        "QTreeView::item { height: 24px; }"
        "QHeaderView { background: #1b1e24; }"
        "QHeaderView::section { background: #1b1e24; color: #9aa1ad; border: none;"
        "  border-bottom: 1px solid #2a2e36; padding: 3px 6px; }"
        "QCheckBox::indicator { width: 16px; height: 16px; border-radius: 4px;"
        "  border: 1px solid #383d47; background: #14161a; }"
        "QCheckBox::indicator:checked { background: #ff8200; border-color: #ff8200; }"
        "QTableView::indicator, QTreeView::indicator { width: 14px; height: 14px;"
        "  border-radius: 3px; border: 1px solid #4a505b; background: #14161a; }"
        "QTableView::indicator:checked, QTreeView::indicator:checked { background: #ff8200;"
        "  border-color: #ff8200; }"
        "QScrollBar:vertical { background: #14161a; width: 12px; margin: 0; }"
        "QScrollBar:horizontal { background: #14161a; height: 12px; margin: 0; }"
        "QScrollBar::handle { background: #383d47; border-radius: 4px; margin: 2px; }"
        "QScrollBar::handle:vertical { min-height: 24px; }"
        "QScrollBar::handle:horizontal { min-width: 24px; }"
        "QScrollBar::handle:hover { background: #4a505b; }"
        "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }"
        "QToolTip { background: #1b1e24; color: #e4e7ec; border: 1px solid #30343d; }"
        "QMessageBox, QFileDialog, QMenu { background: #1b1e24; color: #e4e7ec; }"
        "QMessageBox QLabel { color: #e4e7ec; }"
        "QMessageBox QPushButton, QFileDialog QPushButton { background: #262a31; color: #e4e7ec;"
        "  border: 1px solid #383d47; border-radius: 5px; padding: 4px 14px; }"
        "QMenu::item:selected { background: #4a2b0e; }"
        // Style sheet colours do not pass to child widgets: the file and colour dialogs' own
        // labels, lists and tool buttons are named here, or they keep light-theme colours.
        "QFileDialog QLabel, QFileDialog QCheckBox, QColorDialog, QColorDialog QLabel {"
        "  background: #1b1e24; color: #e4e7ec; }"
        "QFileDialog QListView, QFileDialog QTreeView, QFileDialog QListView::item {"
        "  background: #14161a; color: #e4e7ec; }"
        "QFileDialog QListView::item:selected { background: #4a2b0e; color: #ffffff; }"
        "QFileDialog QToolButton, QColorDialog QPushButton { background: #262a31; color: #e4e7ec;"
        "  border: 1px solid #383d47; border-radius: 4px; padding: 3px; }"
        "QColorDialog QLineEdit, QColorDialog QSpinBox { background: #14161a; color: #e4e7ec; }"
        "QFrame#ColourPopup { background: #1b1e24; border: 1px solid #30343d; }"
        "QFrame#ColourPopup QToolButton { color: #e4e7ec; border-radius: 4px; padding: 2px; }"
        "QFrame#ColourPopup QToolButton:hover { background: #4a2b0e; }"
        "QDialog#AboutBox { background: #1b1e24; }"
        "QDialog#AboutBox QLabel { color: #c9ced6; }"
        "QDialog#AboutBox QLabel#AboutName { color: #ffffff; font-size: 18px; font-weight: 600; }"
        "QDialog#AboutBox QPushButton { background: #262a31; color: #e4e7ec;"
        "  border: 1px solid #383d47; border-radius: 5px; padding: 5px 18px; }"
        "QDialog#AboutBox QPushButton:hover { border-color: #ff8200; color: #ff8200; }"
        // The focus ring of the plain controls, in the accent colour as on the skin's own.
        "QLineEdit:focus, QComboBox:focus, QTableWidget:focus, QTreeView:focus,"
        "  QPushButton:focus { border: 2px solid #ff8200; }"
        "QCheckBox::indicator:focus { border: 2px solid #ff8200; }"
        "QToolButton:focus { border: 2px solid #ff8200; border-radius: 3px; }"));
    // The report lists draw their grid lines in the palette's mid colour.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Mid, QColor(0x26, 0x2a, 0x31));
    QApplication::setPalette(palette);
}

}  // namespace zarvin
