#pragma once

#include <QByteArray>
#include <QByteArrayView>

// What each fuzz target does with one input. The libFuzzer targets call these, and so does the
// replay test of the ordinary build, so every seed and every past finding runs the same code
// without clang. Each aborts when a promise of the readers is broken; crashes, hangs and sanitizer
// reports speak for themselves.
namespace plenoria::fuzz {

// The folder scan: the bytes as a file in a temporary folder, described by ImageItem (header,
// pixel size and, under a .gif name, every frame's timing).
void scanBytes(QByteArrayView bytes);

// The preview and the bench: every frame's properties, every frame decoded, the bench's strip and
// the preview's animation (through a file), with their invariants checked.
void decodeBytes(QByteArrayView bytes);

// The delay rewriter, with delays drawn from the bytes; any output must keep the file's size and
// frame count and read back with the delays given.
void rewriteBytes(QByteArrayView bytes);

// What leaves the bench: the bytes as a source, a record drawn from the bytes (crop, extend, resize,
// ground, tone, stamp, frames), rendered for save in the source's type and for export in every
// format; each result must read back as what it claims, one frame per rendered frame where kept.
void benchBytes(QByteArrayView bytes);

// A backup record as the store reads it from .plenoria/records: only the exact text the store
// writes parses, so what parses must be written back byte for byte.
void recordsBytes(QByteArrayView bytes);

// PNG bytes with every chunk's checksum recomputed, so that a mutation reaches the parsers instead
// of failing libpng's checksum test; other bytes unchanged.
QByteArray withPngChecksums(QByteArrayView bytes);

} // namespace plenoria::fuzz
