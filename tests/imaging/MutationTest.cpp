#include "ApngBuilder.h"
#include "GifBuilder.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/GIFTiming.h"
#include "imaging/read/ImageSource.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace plenoria;
using namespace plenoria::test;

// Valid files of every type with a few bytes overwritten at random: whatever the damage, reading
// gives an image or none, never a crash or a read outside the bytes (run under the sanitizers).
TEST(MutatedFiles, EveryTypeSurvivesRandomDamage)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("in.png"));
    ASSERT_TRUE(discImage(24, 20, Qt::red, Qt::blue).save(png));
    std::vector<QByteArray> samples{
        makeGif({{discImage(16, 16, Qt::red), {}, 10}, {discImage(8, 8, Qt::blue), {4, 4}, 5, 2, true},
                    {discImage(16, 16, Qt::green), {}, 0, 3}},
            {QSize(16, 16), 2}),
        makeApng({{discImage(16, 16, Qt::red), {}}, {discImage(8, 8, Qt::blue), {4, 4}, 1, 10, 1, 1},
            {discImage(6, 6, Qt::green), {1, 1}, 1, 0, 2, 0}}),
        readFileBytes(png)};
    const QList<QPair<QString, QStringList>> peers{
        {QStringLiteral("img2webp"), {png, QStringLiteral("-lossy"), png, QStringLiteral("-o")}},
        {QStringLiteral("cwebp"), {QStringLiteral("-quiet"), png, QStringLiteral("-o")}},
        {QStringLiteral("convert"), {png}},
        {QStringLiteral("heif-enc"), {png, QStringLiteral("-o")}},
        {QStringLiteral("avifenc"), {QStringLiteral("-s"), QStringLiteral("10"), png}},
    };
    const QStringList outputs{QStringLiteral("a.webp"), QStringLiteral("b.webp"), QStringLiteral("c.jpg"),
        QStringLiteral("d.heic"), QStringLiteral("e.avif")};
    for (int i = 0; i < peers.size(); ++i) {
        const QString out = dir.filePath(outputs[i]);
        ASSERT_TRUE(runPeer(peers[i].first, peers[i].second + QStringList{out}));
        samples.push_back(readFileBytes(out));
    }
    for (const char* extra : {"t.tiff", "b.bmp"}) {
        const QString out = dir.filePath(QString::fromLatin1(extra));
        ASSERT_TRUE(runPeer(QStringLiteral("convert"), {png, out}));
        samples.push_back(readFileBytes(out));
    }

    std::mt19937 random(20240601);
    for (const QByteArray& sample : samples) {
        ASSERT_TRUE(Filmstrip::fromData(sample));
        for (int round = 0; round < 150; ++round) {
            QByteArray damaged = sample;
            const int flips = 1 + int(random() % 4);
            for (int f = 0; f < flips; ++f)
                damaged[qsizetype(random() % quint32(damaged.size()))] = char(random() & 0xFF);
            if (const std::optional<ImageSource> source = ImageSource::fromData(damaged)) {
                (void)GIFTiming::read(*source);
                (void)source->decodeFrames();
            }
        }
    }
}
