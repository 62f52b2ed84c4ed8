// The jobs the application tests' child processes do: print the settings as a fresh process reads them.

#include "ChildProcess.h"

namespace plenoria::test {

namespace {

// Every key in the file, sorted, as "key=value"; a list's entries are joined by "|", and a line
// break in a value is written as the two characters \n. A key that was never written has no line,
// so it cannot pass for one written with its default.
void printStoredKeys(QSettings& settings, QTextStream& out)
{
    QStringList keys = settings.allKeys();
    keys.sort();
    for (const QString& key : keys) {
        const QVariant value = settings.value(key);
        const QString text = value.typeId() == QMetaType::QStringList
            ? value.toStringList().join(QLatin1Char('|'))
            : value.toString();
        out << key << '=' << QString(text).replace(QLatin1Char('\n'), QStringLiteral("\\n")) << '\n';
    }
}

[[maybe_unused]] const bool registered
    = ChildProcess::addJobs({{QStringLiteral("storedKeys"), printStoredKeys}});

} // namespace

} // namespace plenoria::test
