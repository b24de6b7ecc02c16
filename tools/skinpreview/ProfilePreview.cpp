#include "ProfilePreview.h"

#include <QHeaderView>
#include <QTableWidget>
#include <string>

#include "Capture.h"
#include "PreviewDialog.h"
#include "StandIns.h"
#include "skin/LayoutReaders.h"
#include "skin/PngButton.h"
#include "skin/StateImages.h"

namespace zarvin::preview {
namespace {

namespace fs = std::filesystem;

class ProfileStandIn {
public:
    explicit ProfileStandIn(const fs::path& programFolder) : skins_(programFolder / "Skins") {}

    void Setup(PreviewDialog& dialog) {
        const QSize size = dialog.size();
        normal_ = LoadStateSurface(skins_ / "Profile_normal.jpg", size);
        over_ = LoadStateSurface(skins_ / "Profile_over.jpg", size);
        down_ = LoadStateSurface(skins_ / "Profile_down.jpg", size);
        const ButtonFaces faces{&normal_, &over_, &down_, &down_, &normal_};
        const fs::path skinFile = skins_ / "Profile.ini";
        for (const char* entry : {"CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD",
                                  "FUNC_DELETE", "CONTROL2_APPLY"}) {
            auto* button = new CPngButton(&dialog);
            PlaceWithFaces(*button, skinFile, "BUTTONINFO", entry, faces);
            // Until the list changes there is nothing to apply.
            button->setEnabled(std::string(entry) != "CONTROL2_APPLY");
        }
        QTableWidget* list = MakeTable(
            &dialog, {QStringLiteral("Active"), QStringLiteral("Name"), QStringLiteral("Folder")},
            60);
        list->setColumnWidth(1, 120);
        PlaceControl(*list, skinFile, "BUTTONINFO", "PROGRAM_LIST");
        const char* folder = "/home/ana/.local/share/VX77HUE_8246/";
        for (int row = 0; row < 3; ++row) {
            list->insertRow(row);
            auto* check = new QTableWidgetItem();
            check->setCheckState(row == 0 ? Qt::Checked : Qt::Unchecked);
            list->setItem(row, 0, check);
            list->setItem(row, 1, new QTableWidgetItem(QStringLiteral("profiles")));
            list->setItem(row, 2, new QTableWidgetItem(QString::fromLatin1(folder)));
            list->setRowHeight(row, 26);
        }
        list->selectRow(0);
    }

private:
    fs::path skins_;
    QImage normal_, over_, down_;
};

}  // namespace

QImage RenderProfileDialog(const fs::path& programFolder) {
    ProfileStandIn standIn(programFolder);
    PreviewDialog dialog(programFolder / "Skins" / "Profile.ini",
                         [&](PreviewDialog& window) { standIn.Setup(window); });
    return CaptureWindow(dialog);
}

}  // namespace zarvin::preview
