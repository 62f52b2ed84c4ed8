#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace plenoria {

struct FolderChooserRequest {
    QString prompt; // the accept button's text
    QString message; // the line above the listing
    std::optional<QUrl> initialDirectory; // where the chooser opens; none: its own default
};

// A modal chooser of one folder (the application provides a QFileDialog; tests a fake).
class FolderChooser {
public:
    virtual ~FolderChooser() = default;
    // The chosen folder; none when the user cancelled or chose nothing.
    virtual std::optional<QUrl> chooseFolder(const FolderChooserRequest& request) = 0;
};

} // namespace plenoria
