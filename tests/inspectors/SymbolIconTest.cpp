#include "SymbolIcon.h"

#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

using namespace plenoria;

namespace {

// Every pixel that shows anything is `color` at some opacity; returns how many show.
qint64 coveredPixelsAllOf(const QPixmap& pixmap, QColor color)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    qint64 covered = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() == 0)
                continue;
            ++covered;
            if (pixel.alpha() == 255 && pixel.rgb() != color.rgb())
                return -1;
        }
    }
    return covered;
}

} // namespace

TEST(SymbolIcon, DrawsTheShapeInTheAskedColourOnly)
{
    for (const char* theme : {"breeze", "no-such-theme"}) {
        QIcon::setThemeName(QString::fromLatin1(theme));
        for (const char* name : {"folder", "edit-find", "list-add"}) {
            const QPixmap pixmap
                = SymbolIcon::pixmap(QString::fromLatin1(name), 16, QColor(0x47, 0x59, 0x3F), 2);
            EXPECT_EQ(pixmap.size(), QSize(32, 32)) << name;
            EXPECT_GT(coveredPixelsAllOf(pixmap, QColor(0x47, 0x59, 0x3F)), 10) << theme << " " << name;
        }
    }
    EXPECT_EQ(
        coveredPixelsAllOf(SymbolIcon::pixmap(QStringLiteral("no-such-symbol"), 16, Qt::red), Qt::red), 0);
}
