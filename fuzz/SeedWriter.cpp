// Writes the seed corpora of the fuzz targets: plenoria_fuzz_seeds <folder> fills <folder>/scan,
// <folder>/decode, <folder>/bench, <folder>/rewrite (GIF seeds only) and <folder>/records (backup
// records). make-seeds.sh runs it.

#include "FuzzSeeds.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: plenoria_fuzz_seeds <corpus folder>\n");
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    int written = 0;
    for (const plenoria::fuzz::NamedBytes& seed : plenoria::fuzz::fuzzSeeds(true)) {
        QStringList targets{QStringLiteral("scan"), QStringLiteral("decode"), QStringLiteral("bench")};
        if (seed.name.endsWith(QLatin1String(".gif")))
            targets << QStringLiteral("rewrite");
        for (const QString& target : targets) {
            QFile file(corpus.filePath(target + u'/' + seed.name));
            if (!corpus.mkpath(target) || !file.open(QIODevice::WriteOnly)
                || file.write(seed.bytes) != seed.bytes.size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
            ++written;
        }
    }
    for (const plenoria::fuzz::NamedBytes& seed : plenoria::fuzz::recordSeeds()) {
        QFile file(corpus.filePath(QStringLiteral("records/") + seed.name));
        if (!corpus.mkpath(QStringLiteral("records")) || !file.open(QIODevice::WriteOnly)
            || file.write(seed.bytes) != seed.bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
        ++written;
    }
    std::printf("%d seed files in %s\n", written, qPrintable(corpus.absolutePath()));
    return 0;
}
