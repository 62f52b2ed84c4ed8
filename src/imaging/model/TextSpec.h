#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace plenoria {

// Lines of text drawn over the image, in pixels of the image the treatment receives.
struct TextSpec {
    QString content; // lines separated by "\n"
    QString fontName; // font family
    double size = 0; // pixels
    QString colorHex; // fill
    QString outlineHex; // outline
    double outlineWidth = 0; // pixels, centred on the glyph outline; below 0.05 no outline
    double rotation = 0; // degrees, positive turns clockwise on screen
    QPointF center; // centre of the text block, top-left origin

    // What a new text row starts with on an image of `size`: a large "OMG" low in the image.
    [[nodiscard]] static TextSpec defaultFor(QSizeF size);

    // The content's lines, split at "\n" (blank lines count); a trailing "\r" is dropped from each, so
    // text pasted with Windows line ends draws no stray glyph.
    [[nodiscard]] QStringList lines() const;

    // The trimmed content's first 14 characters in curly quotes, or "empty".
    [[nodiscard]] QString summary() const;

    bool operator==(const TextSpec&) const = default;
};

// The first of "Impact", "Helvetica Neue", "Helvetica" that is installed, else "Helvetica" (which
// fontconfig resolves to a stand-in). Looked up once per run; needs a QGuiApplication.
QString defaultTextFont();

} // namespace plenoria
