#pragma once

// The about box: a small modeless window with the program's description, its copyright and a
// link to the project's home page. The main window builds it on the first request and keeps it.

#include <QDialog>

class QLabel;
class QPushButton;

namespace zarvin {

class ConfiguratorCore;

class AboutBox : public QDialog {
    Q_OBJECT

public:
    AboutBox(ConfiguratorCore& core, const QString& linkAddress, QWidget* parent = nullptr);

    // The texts in the current language.
    void ApplyLanguage();

private:
    ConfiguratorCore& core_;
    QLabel* description_;
    QLabel* copyright_;
    QPushButton* ok_;
};

}  // namespace zarvin
