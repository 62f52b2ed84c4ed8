#pragma once

#include "inspectors/controls/Binding.h"

#include <functional>

namespace plenoria::test {

// A spec held by the test as the bench holds a row, counting the writes made to it; `afterWrite`
// runs after each one, as the bench's refresh of its inspector does.
template <typename S> struct HeldSpec {
    S spec;
    qint64 writes = 0;
    std::function<void()> afterWrite;

    Binding<S> binding()
    {
        return Binding<S>([this] { return spec; },
            [this](const S& written) {
                spec = written;
                ++writes;
                if (afterWrite)
                    afterWrite();
            });
    }
};

} // namespace plenoria::test
