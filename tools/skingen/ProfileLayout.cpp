#include "ProfileLayout.h"

namespace zarvin::skingen {
namespace {

Control Button(std::string entry, QRect rect, QString label, std::optional<Icon> icon = {}) {
    Control control;
    control.entry = std::move(entry);
    control.rect = rect;
    control.row = FaceRow::Set;
    control.art = Art::Button;
    control.label = std::move(label);
    control.icon = icon;
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
        Button("CONTROL_OK", {336, kBottom, 96, 34}, QStringLiteral("OK")),
        Button("CONTROL_CANCEL", {440, kBottom, 96, 34}, QStringLiteral("Cancel")),
        Button("FUNC_ADD", {24, kRow, 96, 34}, QStringLiteral("Add"), Icon::Plus),
        Button("FUNC_LOAD", {128, kRow, 96, 34}, QStringLiteral("Load"), Icon::Folder),
        Button("FUNC_DELETE", {232, kRow, 96, 34}, QStringLiteral("Delete"), Icon::Trash),
        Button("CONTROL2_APPLY", {232, kBottom, 96, 34}, QStringLiteral("Apply")),
    };
    Control list;
    list.entry = "PROGRAM_LIST";
    list.rect = {24, 64, 512, 212};
    list.art = Art::Well;
    layout.controls.push_back(list);
    return layout;
}

}  // namespace zarvin::skingen
