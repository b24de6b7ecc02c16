#include "StandIns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTableWidget>

namespace zarvin::preview {

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
