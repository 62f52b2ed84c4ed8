#pragma once

#include <QByteArray>
#include <QPointF>
#include <QString>

namespace plenoria {

// An image drawn over the image, in pixels of the image the treatment receives.
struct StampSpec {
    QByteArray imageData; // the stamp's image file (PNG prepared when it was picked)
    QString name; // shown in the record list
    QPointF center; // top-left origin
    double width = 0; // drawn width in pixels; the height follows the stamp's aspect
    double rotation = 0; // degrees, positive turns clockwise on screen
    double opacity = 1; // 0…1

    // The name's first 12 characters, " · " and the rounded width in pixels: "sticker.png · 32px".
    [[nodiscard]] QString summary() const;

    bool operator==(const StampSpec&) const = default;
};

} // namespace plenoria
