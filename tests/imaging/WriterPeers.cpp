#include "WriterPeers.h"

#include "Bitmap.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace plenoria::test {

std::optional<QByteArray> peerOutput(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(timeoutMs))
        return std::nullopt;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

QString writeTemporaryFile(const QByteArray& bytes, const QString& name)
{
    static QTemporaryDir folder;
    static QAtomicInt counter;
    const QString path
        = folder.filePath(QString::number(counter.fetchAndAddRelaxed(1)) + QLatin1Char('-') + name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

namespace {

std::optional<QImage> loadPng(const QString& path)
{
    QImage image;
    if (!image.load(path, "PNG"))
        return std::nullopt;
    return image.convertToFormat(pixelFormat);
}

} // namespace

std::optional<QImage> decodeWithPeer(const QByteArray& bytes, ImageType type)
{
    const char* qtFormat = type == ImageType::PNG ? "PNG"
        : type == ImageType::JPEG                 ? "JPEG"
        : type == ImageType::BMP                  ? "BMP"
                                                  : nullptr;
    if (qtFormat) {
        const QImage image = QImage::fromData(bytes, qtFormat);
        if (image.isNull())
            return std::nullopt;
        return image.convertToFormat(pixelFormat);
    }
    const QString input = writeTemporaryFile(bytes, QStringLiteral("input.") + imageTypeName(type).toLower());
    const QString output = input + QStringLiteral(".png");
    bool ran = false;
    switch (type) {
    case ImageType::WebP:
        ran = peerOutput(QStringLiteral("dwebp"), {input, QStringLiteral("-o"), output}).has_value();
        break;
    case ImageType::HEIC:
    case ImageType::AVIF:
        ran = peerOutput(QStringLiteral("heif-convert"), {input, output}).has_value();
        break;
    case ImageType::TIFF:
    case ImageType::GIF:
        ran = peerOutput(
            QStringLiteral("convert"), {input + QStringLiteral("[0]"), QStringLiteral("PNG32:") + output})
                  .has_value();
        break;
    default:
        break;
    }
    if (!ran)
        return std::nullopt;
    return loadPng(output);
}

} // namespace plenoria::test
