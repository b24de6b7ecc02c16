#pragma once

// A skinned window for the preview: the skinned dialog base with the controls a stand-in window
// places once its skin is applied.

#include <functional>

#include "skin/BaseDialog.h"

namespace zarvin::preview {

class PreviewDialog : public CBaseDialog {
public:
    using Setup = std::function<void(PreviewDialog& dialog)>;

    PreviewDialog(const std::filesystem::path& skinFile, Setup setup);

protected:
    void InitDialog() override;

private:
    Setup setup_;
};

}  // namespace zarvin::preview
