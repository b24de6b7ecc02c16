#include "ProfileLayout.h"

namespace zarvin::skingen {
namespace {

// A framed button whose caption the window writes, in the owner's language.
Control Button(std::string entry, QRect rect, std::optional<Icon> icon = {}) {
    Control control;
    control.entry = std::move(entry);
    control.rect = rect;
    control.row = FaceRow::Set;
    control.art = Art::Button;
    control.icon = icon;
    control.windowCaption = true;
    return control;
}

}  // namespace

ProfileLayout MakeProfileLayout() {
    ProfileLayout layout;
    layout.size = {560, 400};
    layout.title = {24, 16, 300, 32};
    layout.dividerY = 338;
    constexpr int kBottom = 350;
    constexpr int kRow = 288;
    layout.controls = {
        Button("CONTROL_OK", {336, kBottom, 96, 34}),
        Button("CONTROL_CANCEL", {440, kBottom, 96, 34}),
        Button("FUNC_ADD", {24, kRow, 96, 34}, Icon::Plus),
        Button("FUNC_LOAD", {128, kRow, 96, 34}, Icon::Folder),
        Button("FUNC_DELETE", {232, kRow, 96, 34}, Icon::Trash),
        Button("CONTROL2_APPLY", {232, kBottom, 96, 34}),
    };
    // The heading beside the icon, which the window writes.
    Control heading;
    heading.entry = "CONTROL_TITLE";
    heading.rect = layout.title.adjusted(34, 0, 0, 0);
    layout.controls.push_back(heading);
    Control list;
    list.entry = "PROGRAM_LIST";
    list.rect = {24, 64, 512, 212};
    list.art = Art::Well;
    layout.controls.push_back(list);
    return layout;
}

}  // namespace zarvin::skingen
