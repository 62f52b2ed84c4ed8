#pragma once

#include <QColor>
#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <ostream>

// Readable failure messages for the Qt values these tests compare.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}

inline void PrintTo(const QUrl& url, std::ostream* out)
{
    *out << url.toString().toStdString();
}

inline void PrintTo(const QRect& rect, std::ostream* out)
{
    *out << rect.x() << ',' << rect.y() << ' ' << rect.width() << 'x' << rect.height();
}

inline void PrintTo(const QColor& color, std::ostream* out)
{
    *out << color.name(QColor::HexArgb).toStdString();
}

inline void PrintTo(const QMap<QString, QString>& map, std::ostream* out)
{
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry)
        *out << "\n  " << entry.key().toStdString() << '=' << entry.value().toStdString();
}
