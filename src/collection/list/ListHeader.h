#pragma once

#include "inspectors/controls/TitledHeader.h"

namespace plenoria {

class FolderControls;

// The row above the split: "Plenoria" and "Collection" on one baseline, then the folder controls
// taking the rest of the width.
class ListHeader : public TitledHeader {
    Q_OBJECT
public:
    explicit ListHeader(QWidget* parent = nullptr);

    FolderControls* folderControls() const { return m_folderControls; }

private:
    FolderControls* m_folderControls;
};

} // namespace plenoria
