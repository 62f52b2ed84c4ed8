#pragma once

#include <QLocale>
#include <QString>

namespace plenoria {

// A file size as file managers write it: decimal units (1 KB = 1000 bytes), "Zero KB" for
// nothing, whole bytes below 1 KB, whole kilobytes, one decimal for megabytes and two above,
// trailing zeros dropped ("1 MB", "1.5 MB", "2.34 GB").
QString byteCountText(qint64 bytes, const QLocale& locale = QLocale());

} // namespace plenoria
