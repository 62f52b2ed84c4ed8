#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace plenoria::fuzz {

struct NamedBytes {
    QString name; // a file name whose extension tells the type
    QByteArray bytes;
};

// Tiny files of every type the readers take, for the fuzz targets to start from: made with our own
// writers and the test builders, and by the peer tools for the flavours only they write (when
// `withPeers`). The hostile files of the test builders are among them, at small sizes.
std::vector<NamedBytes> fuzzSeeds(bool withPeers);
// Backup records as the store writes them, of one and of two contents.
std::vector<NamedBytes> recordSeeds();

} // namespace plenoria::fuzz
