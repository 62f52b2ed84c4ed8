#include "PeerTools.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace plenoria::test {

bool runPeer(const QString& program, const QStringList& arguments, QByteArray* output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return false;
    if (output)
        *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QByteArray makeGif87a(const std::vector<QImage>& frames)
{
    QTemporaryDir dir;
    QStringList gifs;
    for (size_t i = 0; i < frames.size(); ++i) {
        const QString png = dir.filePath(QStringLiteral("f%1.png").arg(i));
        gifs << dir.filePath(QStringLiteral("f%1.gif").arg(i));
        if (!frames[i].save(png)
            || !runPeer(QStringLiteral("convert"),
                {png, QStringLiteral("-alpha"), QStringLiteral("off"),
                    QStringLiteral("GIF87:") + gifs.last()}))
            return {};
    }
    if (gifs.size() == 1)
        return readFileBytes(gifs.first());
    const QString joined = dir.filePath(QStringLiteral("joined.gif"));
    if (!runPeer(QStringLiteral("gifsicle"), gifs + QStringList{QStringLiteral("-o"), joined}))
        return {};
    return readFileBytes(joined);
}

QByteArray readFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace plenoria::test
