#pragma once

#include <QString>
#include <QStringList>

namespace plenoria {

// The font families installed here, as the text treatment and the font picker see them. Needs a
// QGuiApplication; safe from any thread once it exists.
class FontFamilies {
public:
    FontFamilies() = delete;

    // Every installed family once, without fontconfig's " [foundry]" suffixes and its generic names
    // ("Sans Serif", "Serif", "Monospace"), sorted by code point. Built once per run.
    static const QStringList& installed();
    // Whether `family` is in that list (an alias fontconfig resolves does not count).
    static bool isInstalled(const QString& family);
    // `family` cleaned as the list is, or `family` itself when it has no suffix.
    static QString withoutFoundry(const QString& family);
    // The family to draw `family`'s text in: itself, or defaultTextFont() when it is not installed
    // and fontconfig would substitute a symbol face (it maps "Impact" to dingbats on some systems).
    static QString drawable(const QString& family);
};

} // namespace plenoria
