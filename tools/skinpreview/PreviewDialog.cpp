#include "PreviewDialog.h"

#include <utility>

namespace zarvin::preview {

PreviewDialog::PreviewDialog(const std::filesystem::path& skinFile, Setup setup)
    : CBaseDialog(skinFile, skinFile.parent_path()), setup_(std::move(setup)) {}

void PreviewDialog::InitDialog() {
    setup_(*this);
}

}  // namespace zarvin::preview
