#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace plenoria {

// Colours travel as hex text "#RRGGBB". Parsing trims spaces, tabs and "#" at both ends (line
// breaks too when `trimLineBreaks`, as the renderer reads its colours), needs exactly six
// characters, and reads them as one hexadecimal number (an optional "0x" prefix is accepted;
// reading stops at the first non-hex character). None when no digit is read.
std::optional<quint32> parseHexColorValue(const QString& text, bool trimLineBreaks = false);

// The colour of the text, or fully transparent black ("clear") when it is not a hex colour.
QColor parseHexColor(const QString& text);

// "#%02X%02X%02X" of the colour's sRGB components, each rounded half away from zero; black when
// the colour is invalid.
QString hexString(const QColor& color);

// Luma 0.299 R + 0.587 G + 0.114 B above 0.6 (strictly); an invalid colour counts as black.
bool isLightColor(const QColor& color);

// An opaque sRGB colour from fractions 0…1.
QColor makeSRGBColor(double red, double green, double blue);

} // namespace plenoria
