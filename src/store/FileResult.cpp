#include "store/FileResult.h"

#include <cstring>

namespace plenoria {

QString FileResult::description() const
{
    if (m_error == 0)
        return {};
    // strerror's English text, as the desktop's own tools word it ("No space left on device").
    return QString::fromLocal8Bit(std::strerror(m_error));
}

} // namespace plenoria
