#pragma once

#include <QWidget>

namespace plenoria {

class FolderControls;

// The row above the split: "Plenoria" and "Collection" on one baseline, then the folder controls
// taking the rest of the width.
class ListHeader : public QWidget {
    Q_OBJECT
public:
    explicit ListHeader(QWidget* parent = nullptr);

    FolderControls* folderControls() const { return m_folderControls; }

private:
    FolderControls* m_folderControls;
};

} // namespace plenoria
