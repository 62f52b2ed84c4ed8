#include "bench/view/StampFileDialog.h"

#include "imaging/read/ImageItem.h"

#include <QFileDialog>
#include <QPointer>

namespace plenoria {

BenchModel::StampChooser StampFileDialog::chooser(QWidget* parent, const QString& folder)
{
    return [parent = QPointer<QWidget>(parent), folder](const QString& message) -> std::optional<QString> {
        QStringList patterns;
        for (const QString& extension : imageFileExtensions())
            patterns << QStringLiteral("*.") + extension;
        QFileDialog dialog(parent ? parent->window() : nullptr, message, folder);
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setOption(QFileDialog::HideNameFilterDetails, true);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setNameFilter(QStringLiteral("Images (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
        dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Use as stamp"));
        // Wide enough for the size and date columns to be read.
        dialog.resize(760, 480);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().first();
    };
}

} // namespace plenoria
