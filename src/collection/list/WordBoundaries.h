#pragma once

#include <QString>

namespace plenoria {

// Word-wise caret moves in file names: only letters and numbers (by Unicode property, per
// user-perceived character) make words, so "party-parrot_big.gif" has four. Offsets are UTF-16
// positions into `text`; an offset inside a character counts from that character.

// The start of the word before `offset`, skipping separators first; 0 when none is left.
qsizetype previousWordBoundary(const QString& text, qsizetype offset);
// The end of the word after `offset`, skipping separators first; the text's end when none is left.
qsizetype nextWordBoundary(const QString& text, qsizetype offset);

} // namespace plenoria
