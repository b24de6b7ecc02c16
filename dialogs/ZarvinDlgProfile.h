#pragma once

// CZarvin_DlgProfile: the profile dialog. Lists the three profiles with the file behind each,
// lets the user check the profile the keyboard is to use, add a blank backup file or an existing
// one, remove rows, and apply.

#include <QImage>
#include <filesystem>
#include <functional>
#include <utility>

#include "skin/BaseDialog.h"

namespace zarvin {

class CPngButton;
class CReportCtrl;
class ConfiguratorCore;
class EditorHost;

class CZarvin_DlgProfile : public CBaseDialog {
    Q_OBJECT

public:
    CZarvin_DlgProfile(ConfiguratorCore& core, EditorHost& host, QWidget* parent = nullptr);
    ~CZarvin_DlgProfile() override;

    // Shows the dialog window-modally and returns at once.
    void Open();
    // Runs the dialog modally; returns when it has closed.
    int Exec();

    // The open count is above 0.
    bool IsOpen() const;
    bool ApplyEnabled() const;
    void EnableApply(bool on);
    // Checks the row of `profile` (unchecking the others).
    void CheckProfileRow(int profile);
    // The keyboard went away: Cancel when open.
    void CloseIfOpen();

    // Where the user picks a backup file: given the file or folder to start at, the chosen
    // file, or an empty path when the user cancels. The defaults are file dialogs; tests set
    // their own.
    using FileChooser = std::function<std::filesystem::path(const std::filesystem::path& start)>;
    void SetSaveFileChooser(FileChooser chooser) { chooseNewFile_ = std::move(chooser); }
    void SetOpenFileChooser(FileChooser chooser) { chooseExistingFile_ = std::move(chooser); }

    // Esc and the window's close box: Cancel.
    void reject() override;

protected:
    void InitDialog() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void PlaceControls();
    void NameControls();
    void FillList();
    void AppendRow(const std::filesystem::path& file);

    void OnAdd();
    void OnLoad();
    void OnDelete();
    void OnApply();
    void OnOK();
    void OnCancel();
    void Close(int result);

    std::filesystem::path ChooseNewFileInDialog(const std::filesystem::path& start);
    std::filesystem::path ChooseExistingFileInDialog(const std::filesystem::path& start);

    ConfiguratorCore& core_;
    EditorHost& host_;

    CPngButton* title_ = nullptr;
    CPngButton* okButton_ = nullptr;
    CPngButton* cancelButton_ = nullptr;
    CPngButton* addButton_ = nullptr;
    CPngButton* loadButton_ = nullptr;
    CPngButton* deleteButton_ = nullptr;
    CPngButton* applyButton_ = nullptr;
    CReportCtrl* list_ = nullptr;

    bool applyEnabled_ = false;
    int openCount_ = 0;

    // The button pictures cut to this window's size, made anew at each opening.
    QImage normalSurface_;
    QImage overSurface_;
    QImage downSurface_;

    FileChooser chooseNewFile_;
    FileChooser chooseExistingFile_;
};

}  // namespace zarvin
