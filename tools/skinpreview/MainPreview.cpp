#include "MainPreview.h"

#include <QApplication>
#include <QComboBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <map>
#include <string>

#include "Capture.h"
#include "PreviewDialog.h"
#include "StandIns.h"
#include "model/KeyboardLayout.h"
#include "skin/BitmapSlider.h"
#include "skin/LayoutReaders.h"
#include "skin/PngButton.h"
#include "skin/SkinColorBtn.h"
#include "skin/StateImages.h"

namespace zarvin::preview {
namespace {

namespace fs = std::filesystem;

// The text colours the main window gives its text buttons (normal, hover, pressed, disabled,
// selected).
const ButtonTextColours kTextColours{QColor(255, 255, 255), QColor(255, 130, 0),
                                     QColor(255, 155, 4), QColor(127, 127, 127),
                                     QColor(255, 255, 255)};
constexpr unsigned kCentredText = 0x25;
const QColor kLabelColour(228, 228, 228);

class MainStandIn {
public:
    MainStandIn(const fs::path& programFolder, const Texts& texts, MainScene scene)
        : skins_(programFolder / "Skins"), texts_(texts), scene_(scene) {}

    void Setup(PreviewDialog& dialog) {
        dialog_ = &dialog;
        const QSize size = dialog.size();
        normal_ = LoadStateSurface(skins_ / "main_normal.jpg", size);
        over_ = LoadStateSurface(skins_ / "main_over.jpg", size);
        down_ = LoadStateSurface(skins_ / "main_down.jpg", size);
        disable_ = LoadStateSurface(skins_ / "main_disable.jpg", size);
        arrow_ = LoadStateSurface(skins_ / "Arrow.jpg", size);
        PlaceButtons();
        PlaceLightingPanel();
        ShowState();
    }

private:
    fs::path SkinFile() const { return skins_ / "Main.ini"; }

    CPngButton* Button(const std::string& entry, const ButtonFaces& faces) {
        auto* button = new CPngButton(dialog_);
        PlaceWithFaces(*button, SkinFile(), "BUTTONINFO", entry, faces);
        buttons_[entry] = button;
        return button;
    }

    void TextButton(const std::string& entry, const ButtonFaces& faces, const char* textKey,
                    int pointSize) {
        CPngButton* button = Button(entry, faces);
        button->setText(texts_.Get("TEXT", textKey));
        button->SetTextStyle(true, pointSize, QStringLiteral("Arial Unicode MS"), kTextColours,
                             kCentredText);
    }

    void PlaceButtons() {
        const ButtonFaces key{&normal_, &over_, &down_, &normal_, &disable_};
        const ButtonFaces command{&normal_, &over_, &down_, &normal_, &normal_};
        const ButtonFaces apply{&normal_, &over_, &down_, &disable_, &normal_};
        const ButtonFaces lock{&normal_, &normal_, &normal_, &normal_, &over_};
        for (const KeyButton& button : KeyButtons()) {
            Button(SkinEntryOf(button), key);
        }
        Button("PELLOQ_LINK", {&normal_, &over_, &disable_, &normal_, &normal_});
        CPngButton* profiles = Button("FUNC_PROFILES", command);
        profiles->SetTextStyle(true, 10, QStringLiteral("Arial Unicode MS"), kTextColours, 0x28);
        TextButton("FUNC_MACRO", command, "PROFILE_MACRO", 10);
        TextButton("CONTROL_OK", command, "PROFILE_OK", 8);
        TextButton("CONTROL_CANCEL", command, "PROFILE_CANCLE", 8);
        for (const char* entry :
             {"CONTROL_HELP", "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU"}) {
            Button(entry, command);
        }
        TextButton("CONTROL2_APPLY", apply, "PROFILE_APPLY", 8);
        for (const char* entry : {"LOCK_CAPS", "LOCK_NUM", "LOCK_SCROLL", "LOCK_AB"}) {
            Button(entry, lock);
        }
        Button("FLIP_0", {&normal_, &normal_, &normal_, &normal_, &disable_});
        Button("FLIP_1", key);
        Button("FLIP_2", key);
        CPngButton* version =
            Button("PELLOQ_VER", {&normal_, &normal_, &normal_, &normal_, &normal_});
        version->setEnabled(false);
        const char* profileTexts[] = {"PROFILE_1", "PROFILE_2", "PROFILE_3"};
        for (int i = 0; i < 3; ++i) {
            TextButton("FUNC_PROFILE" + std::to_string(i + 1), key, profileTexts[i], 10);
        }
        TextButton("FUNC_DEFAULT", key, "PROFILE_DEFAULT", 8);
        Button("FUNC_SWITCH", key)->hide();
        for (int i = 1; i <= 4; ++i) {
            Button("FUNC_REPORT" + std::to_string(i), key);
        }
        // Flip 0: the indicators point down.
        for (const char* side : {"LEFT", "RIGHT"}) {
            auto* indicator = new CPngButton(dialog_);
            PlaceWithOrigin(*indicator, SkinFile(), "BUTTONINFO", std::string(side) + "_ARROW",
                            "BUTTONINFO2", std::string("DOWN_ARROW_") + side + "1", &arrow_);
        }
    }

    template <typename Widget>
    Widget* Place(const char* entry, Widget* widget) {
        PlaceControl(*widget, SkinFile(), "BUTTONINFO", entry);
        return widget;
    }

    void Label(const char* entry, const QString& text) {
        Place(entry, MakeLabel(dialog_, text, kLabelColour, 13));
    }

    void Picture(const char* entry, const char* file) {
        Place(entry, MakePicture(dialog_, skins_ / file));
    }

    void Slider(const char* entry, int controlId, int position, int firstPicture) {
        auto* slider = Place(entry, new CBitmapSlider(controlId, dialog_));
        slider->SetRange(0, 5);
        slider->SetPosition(position);
        slider->SetBitmap(QString::fromStdString(
            (skins_ / (std::to_string(firstPicture + position) + ".bmp")).string()));
    }

    void ColourButton(const char* entry, const QColor& colour) {
        auto* button = Place(entry, new CSkinColorBtn(dialog_));
        button->SetColour(colour);
    }

    void PlaceLightingPanel() {
        Label("CONTROL_UsbStatic", texts_.Get("LIGHT", "Usb"));
        Label("CONTROL_DengStatic", texts_.Get("LIGHT", "Deng"));
        Picture("CONTROL_DengStaPic", "dengdown.bmp");
        Label("CONTROL_LightStatic", texts_.Get("LIGHT", "Light"));
        Slider("CONTROL_LightSlider", 1178, 4, 0);
        QStringList effects;
        for (int code = 1; code <= 20; ++code) {
            if (code != 19) {
                effects << texts_.Get("MODE", std::to_string(code).c_str());
            }
        }
        QComboBox* effect = Place("CONTROL_XGcombox", MakeCombo(dialog_, effects));
        Label("CONTROL_RGBStatic", QStringLiteral("RGB"));
        const char* edits[][2] = {{"COLOR_R", "0"}, {"COLOR_G", "126"}, {"COLOR_B", "255"}};
        for (const auto& edit : edits) {
            Place(edit[0], MakeEdit(dialog_, QString::fromLatin1(edit[1])))
                ->setAlignment(Qt::AlignCenter);
        }
        for (int i = 1; i <= 8; ++i) {
            const std::string entry = "CONTROL_Color" + std::to_string(i);
            const std::string file = "Color" + std::to_string(i) + ".bmp";
            Picture(entry.c_str(), file.c_str());
        }
        if (scene_ == MainScene::Effect) {
            effect->setCurrentIndex(0);
            Label("CONTROL_SpeedStatic", texts_.Get("LIGHT", "Speed"));
            Slider("CONTROL_SpeedSlider", 1179, 3, 6);
            Label("CONTROL_BLFXStatic", texts_.Get("LIGHT", "FX"));
            Picture("CONTROL_BLFXLStaPic", "leftdown.bmp");
            Picture("CONTROL_BLFXRStaPic", "rightup.bmp");
            Label("CONTROL_HXysStatic", texts_.Get("LIGHT", "Color"));
            ColourButton("CONTROL_HXysButton", QColor(255, 130, 0));
            Picture("CONTROL_HXsjsStaPic", "sjsdown.bmp");
            Label("CONTROL_HXsjsStatic", texts_.Get("LIGHT", "DC"));
        } else {
            effect->setCurrentIndex(static_cast<int>(effects.size()) - 1);
            QStringList modes;
            for (int i = 1; i <= 10; ++i) {
                modes << QStringLiteral("Layout %1").arg(i);
            }
            Place("CONTROL_umCombo", MakeCombo(dialog_, modes, true));
            Label("CONTROL_USERysStatic", texts_.Get("LIGHT", "Color"));
            ColourButton("CONTROL_USERysButton", QColor(0, 200, 255));
            Label("CONTROL_USERjsStatic", texts_.Get("LIGHT", "JColor"));
            ColourButton("CONTROL_USERjsButton", QColor(255, 60, 120));
            Label("CONTROL_USERgjStatic", texts_.Get("LIGHT", "Tool"));
            Picture("CONTROL_USERgjStaPic1", "user1down.bmp");
            Picture("CONTROL_USERgjStaPic2", "user2up.bmp");
        }
    }

    void ShowState() {
        buttons_["FUNC_PROFILE1"]->SetSelected(true, true);
        buttons_["FUNC_REPORT1"]->SetSelected(true, true);
        if (scene_ == MainScene::Effect) {
            // Keys that carry an assignment, and the pointer resting on one key.
            for (const char* entry : {"FUNC_G1", "FUNC_G2", "FUNC_G6", "KEY_011", "KEY_01E",
                                      "KEY_01F", "KEY_020", "KEY_03B", "KEY_0C8"}) {
                buttons_[entry]->SetSelected(true, true);
            }
            buttons_["CONTROL2_APPLY"]->setEnabled(false);
            Hover(*buttons_["KEY_024"]);
            return;
        }
        // Per-key colours: a rainbow from left to right, shown as each key's frame.
        const double width = KeyboardBounds().width;
        for (const KeyButton& key : KeyButtons()) {
            const double middle = key.place.x + key.place.width / 2;
            const int hue = static_cast<int>(middle / width * 300);
            buttons_[SkinEntryOf(key)]->SetOutline(QColor::fromHsv(hue, 230, 255), 50, true);
        }
    }

    static void Hover(CPngButton& button) {
        const QPointF inside(button.width() / 2.0, button.height() / 2.0);
        QEnterEvent enter(inside, button.mapToGlobal(inside), button.mapToGlobal(inside));
        QApplication::sendEvent(&button, &enter);
    }

    fs::path skins_;
    const Texts& texts_;
    MainScene scene_;
    PreviewDialog* dialog_ = nullptr;
    QImage normal_, over_, down_, disable_, arrow_;
    std::map<std::string, CPngButton*> buttons_;
};

}  // namespace

QImage RenderMainWindow(const fs::path& programFolder, const Texts& texts, MainScene scene) {
    MainStandIn standIn(programFolder, texts, scene);
    PreviewDialog dialog(programFolder / "Skins" / "Main.ini",
                         [&](PreviewDialog& window) { standIn.Setup(window); });
    return CaptureWindow(dialog);
}

}  // namespace zarvin::preview
