#pragma once

// The plain controls the windows place from their skin files (labels, edit boxes, combo boxes,
// lists, check boxes, pictures), made up as the windows will show them, in the skin's colours.

#include <QColor>
#include <QString>
#include <QStringList>
#include <filesystem>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace zarvin::preview {

QLabel* MakeLabel(QWidget* parent, const QString& text, const QColor& colour, int pixelSize);
QLabel* MakePicture(QWidget* parent, const std::filesystem::path& file);
QLineEdit* MakeEdit(QWidget* parent, const QString& text, int pixelSize = 13);
QComboBox* MakeCombo(QWidget* parent, const QStringList& items, bool editable = false);
QCheckBox* MakeCheckBox(QWidget* parent, bool checked);
QTableWidget* MakeTable(QWidget* parent, const QStringList& headers, int columnWidth);

}  // namespace zarvin::preview
