#include "CompositeLayout.h"

namespace zarvin::skingen {
namespace {

class Builder {
public:
    explicit Builder(CompositeLayout& layout) : layout_(layout) {}

    Control& Button(std::string entry, QRect rect, CompositePage page, QString label,
                    std::optional<Icon> icon = {}, Art art = Art::Button) {
        Control& control = Add(std::move(entry), rect, page);
        control.row = FaceRow::Set;
        control.art = art;
        control.label = std::move(label);
        control.icon = icon;
        return control;
    }

    // A framed button whose caption the window writes.
    Control& CaptionButton(std::string entry, QRect rect, CompositePage page,
                           std::optional<Icon> icon = {}) {
        Control& control = Button(std::move(entry), rect, page, {}, icon);
        control.windowCaption = true;
        return control;
    }

    void PageButton(std::string entry, QRect rect) {
        CaptionButton(std::move(entry), rect, CompositePage::All);
        layout_.controls.back().pageButton = true;
    }

    void Place(std::string entry, QRect rect, CompositePage page, Art art = Art::Nothing) {
        Add(std::move(entry), rect, page).art = art;
    }

private:
    Control& Add(std::string entry, QRect rect, CompositePage page) {
        CompositeControl added;
        added.control.entry = std::move(entry);
        added.control.rect = rect;
        added.page = page;
        layout_.controls.push_back(std::move(added));
        return layout_.controls.back().control;
    }

    CompositeLayout& layout_;
};

}  // namespace

CompositeLayout MakeCompositeLayout() {
    CompositeLayout layout;
    layout.size = {600, 500};
    layout.pageArea = {24, 108, 552, 324};
    Builder add(layout);
    using Page = CompositePage;

    // The page area is a button of its own whose faces come from the shown page's pictures.
    add.Button("CONTROL_MASK", layout.pageArea, Page::All, {}, {}, Art::Nothing);
    add.Button("CONTROL_TITLE", {24, 16, 320, 28}, Page::All, {}, {}, Art::Title);
    add.Button("CONTROL_OSK", {508, 16, 32, 32}, Page::All, {}, Icon::Keyboard, Art::IconButton);
    add.Button("CONTROL_CLEAR", {548, 16, 32, 32}, Page::All, {}, Icon::Eraser, Art::IconButton);
    // The words on the buttons are the window's, in the owner's language.
    add.PageButton("CONTROL_MEDIA", {302, 60, 135, 36});
    add.PageButton("CONTROL_MACRO", {163, 60, 135, 36});
    add.PageButton("CONTROL_KEY", {24, 60, 135, 36});
    add.PageButton("CONTROL_FUNCTION", {441, 60, 135, 36});
    add.CaptionButton("CONTROL_OK", {284, 448, 92, 36}, Page::All);
    add.CaptionButton("CONTROL_CANCEL", {384, 448, 92, 36}, Page::All);
    add.CaptionButton("CONTROL_APPLY", {484, 448, 92, 36}, Page::All);

    // The macro page: the macro list with its add and delete buttons, the action list (seven
    // rows) with its buttons beside it, and the cycle count and record-delay choice below.
    add.Button("FUNC_MACRO_DELETE", {448, 148, 36, 30}, Page::Macro, {}, Icon::Trash);
    add.Button("FUNC_MACRO_ADD", {404, 148, 36, 30}, Page::Macro, {}, Icon::Plus);
    add.CaptionButton("FUNC_MACRO_UP_TOP", {404, 228, 74, 28}, Page::Macro);
    add.CaptionButton("FUNC_MACRO_UP", {482, 228, 74, 28}, Page::Macro);
    add.CaptionButton("FUNC_MACRO_DOWN", {404, 262, 74, 28}, Page::Macro);
    add.CaptionButton("FUNC_MACRO_DOWN_BOTTOM", {482, 262, 74, 28}, Page::Macro);
    add.CaptionButton("FUNC_MACRO_DELETE2", {404, 296, 74, 28}, Page::Macro);
    add.CaptionButton("FUNC_MACRO_CLEAR", {482, 296, 74, 28}, Page::Macro);
    add.CaptionButton("FUNC_MACRO_RECORD", {404, 188, 152, 32}, Page::Macro, Icon::Record);

    add.Place("FUNC_MACRO_RECORD_DELAY", {236, 398, 20, 20}, Page::Macro);
    add.Place("FUNC_MACRO_LIST2", {44, 188, 344, 196}, Page::Macro, Art::Well);
    add.Place("FUNC_MACRO_CYCLES", {156, 394, 56, 28}, Page::Macro, Art::Well);
    add.Place("FUNC_MACRO_CYCLES_PROMPT", {44, 398, 108, 20}, Page::Macro);
    add.Place("TISHI_SINGLE_STATIC", {44, 124, 512, 20}, Page::Key);
    add.Place("MARCO_NAME_SETTING", {44, 124, 344, 20}, Page::Macro);
    add.Place("KEY_SETTING", {44, 336, 512, 20}, Page::Key);
    add.Place("MEDIA_SETTING_TISHI", {44, 124, 512, 20}, Page::Media);
    add.Place("FUNCTION_KEY_SETTING_TISHI", {44, 124, 512, 20}, Page::Function);
    add.Place("FUNC_MACRO_RECORD_DELAY2", {262, 398, 200, 20}, Page::Macro);
    add.Place("FUNC_KEY_INPUT", {44, 150, 512, 56}, Page::Key, Art::Well);
    add.Place("FUNC_MEDIA_SELECT", {44, 150, 300, 30}, Page::Media, Art::Well);
    add.Place("FUNC_MACRO_LIST", {44, 148, 344, 30}, Page::Macro, Art::Well);
    add.Place("FUNC_FUNCTION_SELECT", {44, 150, 300, 30}, Page::Function, Art::Well);
    add.Place("FUNC_KEY_RADIO_KB", {44, 226, 20, 20}, Page::Key);
    add.Place("FUNC_KEY_RADIO_KB_STATIC", {70, 226, 200, 20}, Page::Key);
    add.Place("FUNC_KEY_RADIO_MOU", {300, 226, 20, 20}, Page::Key);
    add.Place("FUNC_KEY_RADIO_MOU_STATIC", {326, 226, 200, 20}, Page::Key);
    // The mouse actions, under the mouse choice.
    add.Place("FUNC_MOUSE_SELECT", {326, 258, 230, 30}, Page::Key, Art::Well);
    return layout;
}

}  // namespace zarvin::skingen
