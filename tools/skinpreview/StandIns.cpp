#include "StandIns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTableWidget>

namespace zarvin::preview {

QString StandInStyleSheet() {
    return QStringLiteral(
        "QLineEdit, QComboBox, QTableWidget {"
        "  background: #14161a; color: #e4e7ec; border: 1px solid #30343d; border-radius: 6px;"
        "  selection-background-color: #4a2b0e; selection-color: #ffffff; }"
        "QLineEdit, QComboBox { padding: 0 8px; }"
        "QComboBox QAbstractItemView { background: #1b1e24; color: #e4e7ec; }"
        "QTableWidget { gridline-color: #262a31; }"
        "QHeaderView::section { background: #1b1e24; color: #9aa1ad; border: none;"
        "  border-bottom: 1px solid #2a2e36; padding: 3px 6px; }"
        "QCheckBox::indicator { width: 16px; height: 16px; border-radius: 4px;"
        "  border: 1px solid #383d47; background: #14161a; }"
        "QCheckBox::indicator:checked { background: #ff8200; border-color: #ff8200; }"
        "QTableView::indicator { width: 14px; height: 14px; border-radius: 3px;"
        "  border: 1px solid #4a505b; background: #14161a; }"
        "QTableView::indicator:checked { background: #ff8200; border-color: #ff8200; }");
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const QColor& colour, int pixelSize) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

QLabel* MakePicture(QWidget* parent, const std::filesystem::path& file) {
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap(QString::fromStdString(file.string())));
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const QString& text, int pixelSize) {
    auto* edit = new QLineEdit(text, parent);
    QFont font = edit->font();
    font.setPixelSize(pixelSize);
    edit->setFont(font);
    return edit;
}

QComboBox* MakeCombo(QWidget* parent, const QStringList& items, bool editable) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(editable);
    combo->addItems(items);
    return combo;
}

QCheckBox* MakeCheckBox(QWidget* parent, bool checked) {
    auto* box = new QCheckBox(parent);
    box->setChecked(checked);
    return box;
}

QTableWidget* MakeTable(QWidget* parent, const QStringList& headers, int columnWidth) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int column = 0; column < headers.size(); ++column) {
        table->setColumnWidth(column, columnWidth);
    }
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

}  // namespace zarvin::preview
