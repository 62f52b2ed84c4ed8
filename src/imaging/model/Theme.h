#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>

namespace plenoria {

enum class Appearance { light, dark };

// The application's palette of adaptive colours: every view takes its colours from here, never from
// the system. Colours resolve against the current appearance each time they are read; views repaint
// on `ThemeNotifier::appearanceChanged`. Main thread only.
class Theme {
public:
    Theme() = delete;

    static Appearance appearance();
    // Driven by the shell from the theme preference and the desktop's colour scheme.
    static void setAppearance(Appearance appearance);

    static QColor background();
    static QColor surface();
    static QColor raised();
    static QColor hairline();
    static QColor rule();
    static QColor ink();
    static QColor inkSecondary();
    static QColor inkFaint();
    static QColor moss();
    static QColor rust();
    static QColor slate();
    static QColor windowBackground();

    // The same in both appearances, for grounds that must look alike.
    static QColor fixedInk();
    static QColor fixedPaper();

    // The serif display family, chosen once per run.
    static QString serifFamily();
    // The monospaced family: JetBrains Mono, else the system's fixed font.
    static QString monospacedFamily();

    static QFont serifFont(double pixelSize, QFont::Weight weight = QFont::Normal);
    static QFont monospacedFont(double pixelSize, QFont::Weight weight = QFont::Normal);
};

// The opaque adaptive colour for an appearance: the dark value in the dark appearance, else the light one.
QColor adaptiveHexColor(Appearance appearance, quint32 dark, quint32 light);
// The translucent roles: #E6E2D2 at the dark opacity in the dark appearance, else #211E19 at the light one.
QColor adaptiveAlphaColor(Appearance appearance, double darkOpacity, double lightOpacity);
// The colour with its opacity multiplied by `opacity` (a role at 0.25, say).
QColor withOpacity(QColor color, double opacity);

// The first installed of "Iowan Old Style", "Palatino", "Georgia" and the Linux stand-ins
// "TeX Gyre Pagella", "P052"; "Georgia" (which fontconfig resolves) when none is.
QString chooseSerifFamily();

// Emits when the appearance changes, so that widgets repaint with the new colours.
class ThemeNotifier : public QObject {
    Q_OBJECT
public:
    static ThemeNotifier* instance();
Q_SIGNALS:
    void appearanceChanged();
};

} // namespace plenoria
