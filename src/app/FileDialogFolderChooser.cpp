#include "app/FileDialogFolderChooser.h"

#include <QApplication>
#include <QFileDialog>

namespace plenoria {

std::optional<QUrl> FileDialogFolderChooser::chooseFolder(const FolderChooserRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.message);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setLabelText(QFileDialog::Accept, request.prompt);
    if (request.initialDirectory)
        dialog.setDirectoryUrl(*request.initialDirectory);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QList<QUrl> chosen = dialog.selectedUrls();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.first();
}

} // namespace plenoria
