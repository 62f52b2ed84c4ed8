#include "TranslucentImages.h"

#include "imaging/model/Bitmap.h"

namespace plenoria::test {

QImage translucentImage(int width, int height, int seed)
{
    QImage straight(width, height, QImage::Format_RGBA8888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int alpha = 255;
            if (x == 0)
                alpha = 0;
            else if (y % 3 == 1)
                alpha = 128;
            else if (y % 3 == 2)
                alpha = 40 + (x * 13) % 215;
            uchar* p = straight.scanLine(y) + 4 * x;
            p[0] = uchar((x * 15 + seed * 37) % 256);
            p[1] = uchar((y * 27 + seed * 71) % 256);
            p[2] = uchar((x * y * 5 + seed * 101 + 60) % 256);
            p[3] = uchar(alpha);
        }
    }
    return straight.convertToFormat(pixelFormat);
}

Filmstrip translucentStrip(int width, int height, const std::vector<qint64>& delays, qint64 loopCount)
{
    Filmstrip strip;
    for (size_t i = 0; i < delays.size(); ++i)
        strip.frames.push_back(translucentImage(width, height, int(i) + 1));
    strip.delays = delays;
    strip.loopCount = loopCount;
    return strip;
}

} // namespace plenoria::test
