#pragma once

// CZarvin_DlgProfile: the profile dialog. Lists the three profiles with the file behind each,
// lets the user check the profile the keyboard is to use, add a blank backup file or an existing
// one, remove rows, and apply.
//
// PUBLIC SURFACE (fixed; the main window and the profile switch use it). Everything below
// `private:` is the implementer's.

#include "skin/BaseDialog.h"

namespace zarvin {

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

private:
};

}  // namespace zarvin
