#pragma once

#include <QUrl>

namespace plenoria {

// Shows a file or folder selected in the desktop's file manager (the application provides the
// freedesktop FileManager1 implementation; tests a fake).
class RevealService {
public:
    virtual ~RevealService() = default;
    virtual void reveal(const QUrl& url) = 0;
};

} // namespace plenoria
