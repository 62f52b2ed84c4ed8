#pragma once

#include "store/FolderChooser.h"

namespace plenoria {

// The folder chooser of the desktop: a modal directory dialog over the active window, whose accept
// button carries the request's prompt and whose title carries its message.
class FileDialogFolderChooser final : public FolderChooser {
public:
    std::optional<QUrl> chooseFolder(const FolderChooserRequest& request) override;
};

} // namespace plenoria
