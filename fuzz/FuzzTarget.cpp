// One libFuzzer target; PLENORIA_FUZZ_ENTRY names the entry point it drives (see CMakeLists.txt).

#include "FuzzEntryPoints.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    plenoria::fuzz::PLENORIA_FUZZ_ENTRY(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
