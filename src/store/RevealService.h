#pragma once

#include <QUrl>
#include <functional>

namespace plenoria {

// Shows a file or folder selected in the desktop's file manager (the application provides the
// freedesktop FileManager1 implementation; tests a fake).
class RevealService {
public:
    // Called on the main thread, perhaps after `reveal` has returned, when nothing took the request.
    using FailureHandler = std::function<void()>;

    virtual ~RevealService() = default;
    virtual void reveal(const QUrl& url, FailureHandler onFailure) = 0;
};

} // namespace plenoria
