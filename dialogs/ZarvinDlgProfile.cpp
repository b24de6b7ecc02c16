#include "dialogs/ZarvinDlgProfile.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QStringList>
#include <string>

#include "control/ConfiguratorCore.h"
#include "device/CommandProtocol.h"
#include "dialogs/EditorHost.h"
#include "model/AccessTextKeys.h"
#include "model/TextKeys.h"
#include "skin/CaptionStyle.h"
#include "skin/ColourSchemeLook.h"
#include "skin/ControlStyle.h"
#include "skin/LayoutReaders.h"
#include "skin/PictureLoader.h"
#include "skin/PngButton.h"
#include "skin/ReportCtrl.h"
#include "skin/StateImages.h"
#include "skin/TabOrder.h"
#include "store/ProfileFile.h"
#include "store/ProfileStorePaths.h"

namespace zarvin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLayoutSection = "BUTTONINFO";
constexpr const char* kBackupSuffix = "fwc";
constexpr int kTitlePoints = 13;

QStringList BackupFilters() {
    return {QStringLiteral("(*.fwc)"), QStringLiteral("(*.*)")};
}

enum Column { ActiveColumn, NameColumn, FolderColumn };

// The pictures of the buttons' states, read on the first opening and kept for every later one
// and every instance. An unreadable one ends the process while it is read.
struct ButtonPictures {
    QImage normal;
    QImage over;
    QImage down;
};

const ButtonPictures& LoadButtonPictures(const fs::path& skinFolder) {
    static const ButtonPictures pictures{LoadSkinPicture(skinFolder / "Profile_normal.jpg"),
                                         LoadSkinPicture(skinFolder / "Profile_over.jpg"),
                                         LoadSkinPicture(skinFolder / "Profile_down.jpg")};
    return pictures;
}

QString FromPath(const fs::path& path) {
    return QString::fromStdString(path.string());
}

fs::path ToPath(const QString& text) {
    return fs::path(text.toStdString());
}

}  // namespace

CZarvin_DlgProfile::CZarvin_DlgProfile(ConfiguratorCore& core, EditorHost& host, QWidget* parent)
    : CBaseDialog(core.Context().profileSkinFile, core.Context().profileSkinFolder, parent),
      core_(core),
      host_(host),
      chooseNewFile_([this](const fs::path& start) { return ChooseNewFileInDialog(start); }),
      chooseExistingFile_(
          [this](const fs::path& start) { return ChooseExistingFileInDialog(start); }) {
    CreateControls();
}

CZarvin_DlgProfile::~CZarvin_DlgProfile() = default;

void CZarvin_DlgProfile::Open() {
    open();
}

int CZarvin_DlgProfile::Exec() {
    return exec();
}

bool CZarvin_DlgProfile::IsOpen() const {
    return openCount_ > 0;
}

bool CZarvin_DlgProfile::ApplyEnabled() const {
    return applyEnabled_;
}

void CZarvin_DlgProfile::EnableApply(bool on) {
    applyButton_->setEnabled(on);
    applyEnabled_ = on;
}

void CZarvin_DlgProfile::CheckProfileRow(int profile) {
    for (int row = 0; row < list_->ItemCount(); ++row) {
        list_->SetItemChecked(row, row == profile);
    }
}

void CZarvin_DlgProfile::CloseIfOpen() {
    if (IsOpen()) {
        OnCancel();
    }
}

void CZarvin_DlgProfile::reject() {
    OnCancel();
}

void CZarvin_DlgProfile::InitDialog() {
    // The plain controls' look is given when the dialog first opens: until then its many
    // widgets keep nothing for it.
    if (styleSheet().isEmpty()) {
        StyleControls(*this);
    }
    ++openCount_;
    PlaceControls();
    NameControls();
    OrderTabsByLayout(*this);
    FillList();
    EnableApply(false);
}

void CZarvin_DlgProfile::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        host_.OpenHelp();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

void CZarvin_DlgProfile::CreateControls() {
    // Named by their skin keys, under which the layout places them.
    const auto makeButton = [this](const char* key, void (CZarvin_DlgProfile::*handler)()) {
        auto* button = new CPngButton(this);
        button->setObjectName(QString::fromLatin1(key));
        connect(button, &CPngButton::clicked, this, handler);
        return button;
    };
    okButton_ = makeButton("CONTROL_OK", &CZarvin_DlgProfile::OnOK);
    cancelButton_ = makeButton("CONTROL_CANCEL", &CZarvin_DlgProfile::OnCancel);
    addButton_ = makeButton("FUNC_ADD", &CZarvin_DlgProfile::OnAdd);
    loadButton_ = makeButton("FUNC_LOAD", &CZarvin_DlgProfile::OnLoad);
    deleteButton_ = makeButton("FUNC_DELETE", &CZarvin_DlgProfile::OnDelete);
    applyButton_ = makeButton("CONTROL2_APPLY", &CZarvin_DlgProfile::OnApply);
    for (CPngButton* button :
         {okButton_, cancelButton_, addButton_, loadButton_, deleteButton_, applyButton_}) {
        WriteCaptionOnFace(
            *button, button == addButton_ || button == loadButton_ || button == deleteButton_);
    }
    // The heading is the window's too, so that it follows the language.
    title_ = new CPngButton(this);
    title_->setObjectName(QStringLiteral("CONTROL_TITLE"));
    title_->SetButtonRole(ButtonRole::Display);
    title_->setFocusPolicy(Qt::NoFocus);
    const QColor titleColour = SchemeText().title;
    title_->SetTextStyle(true, kTitlePoints, QStringLiteral("Arial Unicode MS"),
                         {titleColour, titleColour, titleColour, titleColour, titleColour},
                         text_format::kLeft | text_format::kVerticalCentre |
                             text_format::kSingleLine | text_format::kFit);

    list_ = new CReportCtrl(this);
    // Headed in the language by NameControls.
    list_->AddColumn(QString(), 60);
    list_->AddColumn(QString(), 120);
    list_->AddColumn(QString(), 230);
    list_->SetGridLines(true);
    list_->SetCheckboxStyle(CReportCtrl::CheckboxStyle::Single);
    list_->SetCheckChangedCallback([this](int, bool) { EnableApply(true); });
}

void CZarvin_DlgProfile::PlaceControls() {
    const ButtonPictures& pictures = LoadButtonPictures(SkinFolder());
    normalSurface_ = MakeStateSurface(pictures.normal, size());
    overSurface_ = MakeStateSurface(pictures.over, size());
    downSurface_ = MakeStateSurface(pictures.down, size());
    const ButtonFaces faces{&normalSurface_, &overSurface_, &downSurface_, &downSurface_,
                            &normalSurface_};
    for (CPngButton* button :
         {okButton_, cancelButton_, addButton_, loadButton_, deleteButton_, applyButton_}) {
        PlaceWithFaces(*button, SkinFile(), kLayoutSection, button->objectName().toStdString(),
                       faces);
    }
    // The heading's place shows the window's background under its words.
    PlaceWithFaces(
        *title_, SkinFile(), kLayoutSection, "CONTROL_TITLE",
        {&normalSurface_, &normalSurface_, &normalSurface_, &normalSurface_, &normalSurface_});
    PlaceControl(*list_, SkinFile(), kLayoutSection, "PROGRAM_LIST");
}

// The words on the buttons, the heading and the column headings in the current language; the
// tooltips say more where the words are short.
void CZarvin_DlgProfile::NameControls() {
    const auto text = [this](std::string_view key) { return QString::fromStdString(core_.Text(key)); };
    const struct {
        CPngButton* button;
        std::string_view caption;
        std::string_view tooltip;
    } names[] = {{okButton_, text_keys::PROFILE_OK, text_keys::PROFILE_OK},
                 {cancelButton_, text_keys::PROFILE_CANCLE, text_keys::PROFILE_CANCLE},
                 {addButton_, text_keys::PROFILE_BUTTON_ADD, access_keys::PROFILE_ADD},
                 {loadButton_, text_keys::PROFILE_BUTTON_LOAD, access_keys::PROFILE_LOAD},
                 {deleteButton_, text_keys::PROFILE_BUTTON_REMOVE, access_keys::PROFILE_DELETE},
                 {applyButton_, text_keys::PROFILE_APPLY, text_keys::PROFILE_APPLY}};
    for (const auto& name : names) {
        name.button->setText(text(name.caption));
        name.button->SetTooltip(text(name.tooltip), true);
    }
    title_->setText(text(text_keys::PROFILE_TIP));
    QTreeWidgetItem* header = list_->headerItem();
    header->setText(0, text(text_keys::PROFILE_COLUMN_ACTIVE));
    header->setText(1, text(text_keys::PROFILE_COLUMN_NAME));
    header->setText(2, text(text_keys::PROFILE_COLUMN_PATH));
    list_->setAccessibleName(text(access_keys::PROFILE_LIST));
    setWindowTitle(text(text_keys::PROFILE_TIP));
}

// Every profile is kept in the one cache file, so the three rows show the same file.
void CZarvin_DlgProfile::FillList() {
    list_->DeleteAllItems();
    for (int profile = 0; profile < kProfileCount; ++profile) {
        AppendRow(ProfilePath(core_.Context(), profile));
    }
    const int active = core_.ActiveProfile();
    if (active != -1) {
        CheckProfileRow(active);
    }
}

void CZarvin_DlgProfile::AppendRow(const fs::path& file) {
    std::string folder = file.parent_path().string();
    if (!folder.ends_with('/')) {
        folder += '/';
    }
    list_->InsertItem(list_->ItemCount(),
                      {QString(), FromPath(file.stem()), QString::fromStdString(folder)});
}

void CZarvin_DlgProfile::OnAdd() {
    EnsureUserFolder(core_.Context());
    const fs::path file =
        chooseNewFile_(core_.Context().userDataFolder / core_.Text(text_keys::PROFILE_NEW));
    if (file.empty()) {
        return;
    }
    // The row stands for the file even when it could not be written; the list only names files.
    CreateDefaultImage(file, 0);
    AppendRow(file);
    EnableApply(true);
}

void CZarvin_DlgProfile::OnLoad() {
    EnsureUserFolder(core_.Context());
    const fs::path file = chooseExistingFile_(core_.Context().userDataFolder);
    if (file.empty()) {
        return;
    }
    AppendRow(file);
    EnableApply(true);
}

void CZarvin_DlgProfile::OnDelete() {
    const int row = list_->NextItem(-1, CReportCtrl::RowState::Selected);
    if (row < 0) {
        return;
    }
    list_->DeleteItem(row);
    EnableApply(true);
}

void CZarvin_DlgProfile::OnApply() {
    const int rows = list_->ItemCount();
    for (int row = 0; row < rows; ++row) {
        const QString file =
            list_->ItemText(row, FolderColumn) + list_->ItemText(row, NameColumn) + QStringLiteral(".fwc");
        core_.UserSettings().WriteProfileString(ProfileValueName(row + 1), file.toStdString());
    }
    core_.UserSettings().WriteProfileNumber(ProfileValueName(0), rows);

    // With no row checked the keyboard keeps its profile (a negative profile changes nothing).
    core_.Device().SetActiveProfile(core_.Link(),
                                  list_->NextItem(-1, CReportCtrl::RowState::Checked));
    core_.Sync().LoadFromDevice([this] { host_.ShowAssignments(); });
    host_.RebuildProfileMenu();
    host_.ShowActiveProfile();
    EnableApply(false);
    host_.SetPendingChanges(false);
}

void CZarvin_DlgProfile::OnOK() {
    OnApply();
    Close(Accepted);
}

void CZarvin_DlgProfile::OnCancel() {
    Close(Rejected);
}

void CZarvin_DlgProfile::Close(int result) {
    EnableApply(false);
    if (openCount_ > 0) {
        --openCount_;
    }
    done(result);
    normalSurface_ = QImage();
    overSurface_ = QImage();
    downSurface_ = QImage();
}

fs::path CZarvin_DlgProfile::ChooseNewFileInDialog(const fs::path& start) {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromLatin1(kBackupSuffix));
    dialog.setNameFilters(BackupFilters());
    dialog.selectFile(FromPath(start));
    if (dialog.exec() != Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return ToPath(dialog.selectedFiles().constFirst());
}

fs::path CZarvin_DlgProfile::ChooseExistingFileInDialog(const fs::path& start) {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromLatin1(kBackupSuffix));
    dialog.setNameFilters(BackupFilters());
    dialog.setDirectory(FromPath(start));
    if (dialog.exec() != Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return ToPath(dialog.selectedFiles().constFirst());
}

}  // namespace zarvin
