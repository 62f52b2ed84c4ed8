// The jobs the inspector tests' child processes do: print the font usage as a fresh process reads it.

#include "ChildProcess.h"
#include "inspectors/text/FontUsage.h"

namespace plenoria::test {

namespace {

void printFontUsage(QSettings& settings, QTextStream& out)
{
    out << (settings.contains(FontUsage::countsKey) ? "stored" : "nothing stored") << '\n';
    const QMap<QString, qint64> counts = FontUsage(&settings, {}).countsOrDefault();
    for (auto entry = counts.cbegin(); entry != counts.cend(); ++entry)
        out << entry.key() << '=' << entry.value() << '\n';
}

[[maybe_unused]] const bool registered
    = ChildProcess::addJobs({{QStringLiteral("fontUsage"), printFontUsage}});

} // namespace

} // namespace plenoria::test
