#include "imaging/read/CorePool.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>

namespace plenoria {

QThreadPool& CorePool::instance()
{
    // Never destroyed: every call that uses it has waited for its work before returning, and
    // idle threads leave after the pool's expiry time.
    static QThreadPool* const pool = [] {
        auto* made = new QThreadPool;
        made->setObjectName(QStringLiteral("plenoriaCores"));
        made->setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
        return made;
    }();
    return *pool;
}

} // namespace plenoria
