#include "CompositePreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <map>
#include <string>
#include <vector>

#include "Capture.h"
#include "PreviewDialog.h"
#include "StandIns.h"
#include "skin/LayoutReaders.h"
#include "skin/PngButton.h"
#include "skin/StateImages.h"

namespace zarvin::preview {
namespace {

namespace fs = std::filesystem;

const QColor kLabelColour(228, 228, 228);

struct FaceSet {
    QImage normal, over, down, disable;

    ButtonFaces Faces(const QImage* fourth, const QImage* selected) const {
        return {&normal, &over, &down, fourth, selected};
    }
};

class CompositeStandIn {
public:
    CompositeStandIn(const fs::path& programFolder, const Texts& texts, CompositePage page)
        : skins_(programFolder / "Skins"), texts_(texts), page_(page) {}

    void Setup(PreviewDialog& dialog) {
        dialog_ = &dialog;
        Load(key_, "key", false);
        Load(macro_, "macro", true);
        Load(media_, "media", false);
        Load(function_, "function", false);
        PlaceButtons();
        PlaceControls();
        ShowPage();
    }

private:
    fs::path SkinFile() const { return skins_ / "Composite.ini"; }

    void Load(FaceSet& set, const std::string& name, bool hasDisable) {
        const QSize size = dialog_->size();
        set.normal = LoadStateSurface(skins_ / (name + "_normal.jpg"), size);
        set.over = LoadStateSurface(skins_ / (name + "_over.jpg"), size);
        set.down = LoadStateSurface(skins_ / (name + "_down.jpg"), size);
        set.disable =
            hasDisable ? LoadStateSurface(skins_ / (name + "_disable.jpg"), size) : set.normal;
    }

    CPngButton* Button(const std::string& entry, const ButtonFaces& faces, CompositePage page,
                       bool anyPage = false) {
        auto* button = new CPngButton(dialog_);
        PlaceWithFaces(*button, SkinFile(), "BUTTONINFO", entry, faces);
        buttons_[entry] = button;
        if (!anyPage) {
            pageWidgets_.push_back({button, page});
        }
        return button;
    }

    void PlaceButtons() {
        const ButtonFaces keyFaces = key_.Faces(&key_.normal, &key_.down);
        for (const char* entry :
             {"CONTROL_MASK", "CONTROL_TITLE", "CONTROL_OSK", "CONTROL_CLEAR", "CONTROL_MEDIA",
              "CONTROL_MACRO", "CONTROL_KEY", "CONTROL_FUNCTION", "CONTROL_OK", "CONTROL_CANCEL"}) {
            Button(entry, keyFaces, CompositePage::Key, true);
        }
        const ButtonFaces macroFaces = macro_.Faces(&macro_.disable, &macro_.down);
        for (const char* entry : {"FUNC_MACRO_DELETE", "FUNC_MACRO_ADD", "FUNC_MACRO_UP_TOP",
                                  "FUNC_MACRO_UP", "FUNC_MACRO_DOWN", "FUNC_MACRO_DOWN_BOTTOM",
                                  "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR", "FUNC_MACRO_RECORD"}) {
            Button(entry, macroFaces, CompositePage::Macro);
        }
    }

    template <typename Widget>
    Widget* Place(const char* entry, Widget* widget, CompositePage page) {
        PlaceControl(*widget, SkinFile(), "BUTTONINFO", entry);
        pageWidgets_.push_back({widget, page});
        return widget;
    }

    void Label(const char* entry, const char* textKey, CompositePage page, int pixelSize = 14) {
        Place(entry, MakeLabel(dialog_, texts_.Get("TEXT", textKey), kLabelColour, pixelSize),
              page);
    }

    void PlaceControls() {
        using Page = CompositePage;
        Label("TISHI_SINGLE_STATIC", "SINGLE_STATIC", Page::Key);
        QLineEdit* key =
            Place("FUNC_KEY_INPUT", MakeEdit(dialog_, QStringLiteral("Left Ctrl"), 19), Page::Key);
        key->setReadOnly(true);
        key->setAlignment(Qt::AlignCenter);
        Place("FUNC_KEY_RADIO_KB", MakeCheckBox(dialog_, true), Page::Key);
        Label("FUNC_KEY_RADIO_KB_STATIC", "IDS_MACRO_KB_KEY", Page::Key, 13);
        Place("FUNC_KEY_RADIO_MOU", MakeCheckBox(dialog_, false), Page::Key);
        Label("FUNC_KEY_RADIO_MOU_STATIC", "IDS_MACRO_MOU_KEY", Page::Key, 13);

        Label("MARCO_NAME_SETTING", "MACRO_NAME_SETTING", Page::Macro);
        Place("FUNC_MACRO_LIST",
              MakeCombo(dialog_, {QStringLiteral("Macro 1"), QStringLiteral("Macro 2")}, true),
              Page::Macro);
        auto* actions = Place("FUNC_MACRO_LIST2",
                              MakeTable(dialog_,
                                        {texts_.Get("TEXT", "MACRO_KEYS_TISHI"),
                                         texts_.Get("TEXT", "MACRO_ACTION_TISHI"),
                                         texts_.Get("TEXT", "MACRO_DELAY_MS")},
                                        100),
                              Page::Macro);
        const char* rows[][3] = {{"Left Ctrl", "\u2193", "50"},
                                 {"C", "\u2193", "50"},
                                 {"C", "  \u2191", "50"},
                                 {"Left Ctrl", "  \u2191", "0"}};
        for (const auto& row : rows) {
            const int at = actions->rowCount();
            actions->insertRow(at);
            for (int column = 0; column < 3; ++column) {
                auto* item = new QTableWidgetItem(QString::fromUtf8(row[column]));
                if (column < 2) {
                    item->setForeground(QColor(0x9a, 0xa1, 0xad));
                }
                actions->setItem(at, column, item);
            }
            actions->setRowHeight(at, 24);
        }
        actions->selectRow(1);
        Label("FUNC_MACRO_CYCLES_PROMPT", "MACRO_CYCLES", Page::Macro, 13);
        Place("FUNC_MACRO_CYCLES", MakeEdit(dialog_, QStringLiteral("1")), Page::Macro)
            ->setAlignment(Qt::AlignCenter);
        Place("FUNC_MACRO_RECORD_DELAY", MakeCheckBox(dialog_, true), Page::Macro);
        Label("FUNC_MACRO_RECORD_DELAY2", "RECORD_DELAY", Page::Macro, 13);

        Label("MEDIA_SETTING_TISHI", "MEDIA_EDIT_TISHI", Page::Media);
        Place("FUNC_MEDIA_SELECT",
              MakeCombo(dialog_, {QStringLiteral("Play/Pause"), QStringLiteral("Next Track")}),
              Page::Media);
        Label("FUNCTION_KEY_SETTING_TISHI", "FUNCTION_TISHI", Page::Function);
        Place("FUNC_FUNCTION_SELECT", MakeCombo(dialog_, {QStringLiteral("Lock the Windows key")}),
              Page::Function);
    }

    void ShowPage() {
        for (const auto& [widget, page] : pageWidgets_) {
            widget->setVisible(page == page_);
        }
        const FaceSet* sets[] = {&key_, &macro_, &media_, &function_};
        const char* tabs[] = {"CONTROL_KEY", "CONTROL_MACRO", "CONTROL_MEDIA", "CONTROL_FUNCTION"};
        const auto index = static_cast<size_t>(page_);
        const FaceSet& set = *sets[index];
        buttons_["CONTROL_MASK"]->SetStateFaces(set.Faces(&set.disable, &set.normal));
        buttons_[tabs[index]]->SetSelected(true, true);
    }

    fs::path skins_;
    const Texts& texts_;
    CompositePage page_;
    PreviewDialog* dialog_ = nullptr;
    FaceSet key_, macro_, media_, function_;
    std::map<std::string, CPngButton*> buttons_;
    std::vector<std::pair<QWidget*, CompositePage>> pageWidgets_;
};

}  // namespace

QImage RenderCompositeEditor(const fs::path& programFolder, const Texts& texts,
                             CompositePage page) {
    CompositeStandIn standIn(programFolder, texts, page);
    PreviewDialog dialog(programFolder / "Skins" / "Composite.ini",
                         [&](PreviewDialog& window) { standIn.Setup(window); });
    return CaptureWindow(dialog);
}

}  // namespace zarvin::preview
