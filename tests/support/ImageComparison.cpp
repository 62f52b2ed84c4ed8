#include "ImageComparison.h"

#include "imaging/model/Bitmap.h"

#include <cstdlib>

namespace plenoria::test {

int maxChannelDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 256;
    const QImage x = a.convertToFormat(pixelFormat);
    const QImage y = b.convertToFormat(pixelFormat);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar* p = x.constScanLine(row);
        const uchar* q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 4; ++i)
            worst = std::max(worst, std::abs(int(p[i]) - int(q[i])));
    }
    return worst;
}

std::set<QRgb> opaqueColors(const QImage& image)
{
    std::set<QRgb> colors;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() == 255)
                colors.insert(image.pixelColor(x, y).rgb());
    return colors;
}

} // namespace plenoria::test
