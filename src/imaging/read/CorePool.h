#pragma once

class QThreadPool;

namespace plenoria {

// Our pool for work that a thread waits on while it is spread over the cores (the folder scan, a
// save's frames): one thread per core. Qt Gui's own image work on the main thread spreads over
// Qt's global pool and waits for it, so nothing of ours queues there. Made on first use, from any
// thread; it lives as long as the process and holds no work between calls.
class CorePool {
public:
    CorePool() = delete;

    static QThreadPool& instance();
};

} // namespace plenoria
