#include "collection/list/ListHeader.h"

#include "collection/chrome/FolderControls.h"

namespace plenoria {

ListHeader::ListHeader(QWidget* parent)
    : TitledHeader(QStringLiteral("Collection"), parent)
    , m_folderControls(new FolderControls)
{
    setTrailing(m_folderControls);
}

} // namespace plenoria
