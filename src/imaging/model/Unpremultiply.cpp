#include "imaging/model/Unpremultiply.h"

#include "imaging/model/Rounding.h"

namespace plenoria {

namespace {

UnpremultiplyTable makeTable()
{
    UnpremultiplyTable table{};
    for (int c = 0; c < 256; ++c)
        table[std::size_t(c)] = uchar(c);
    for (int a = 1; a < 256; ++a) {
        const double s = 255.0 / a;
        for (int c = 0; c < 256; ++c)
            table[std::size_t(a * 256 + c)] = uchar(clampByte(c * s));
    }
    return table;
}

} // namespace

const UnpremultiplyTable& unpremultiplyTable()
{
    static const UnpremultiplyTable table = makeTable();
    return table;
}

} // namespace plenoria
