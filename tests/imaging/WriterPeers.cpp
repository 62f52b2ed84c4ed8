#include "WriterPeers.h"

#include "imaging/model/Bitmap.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

std::optional<Disassembled> disassembleAPNG(const QByteArray& bytes)
{
    const QString path = writeTemporaryFile(bytes, QStringLiteral("anim.png"));
    const QString folder = QFileInfo(path).absolutePath();
    if (!peerOutput(QStringLiteral("apngdis"), {path, QStringLiteral("frame")}))
        return std::nullopt;
    Disassembled result;
    const QStringList pngs = QDir(folder).entryList({QStringLiteral("frame*.png")}, QDir::Files, QDir::Name);
    for (const QString& name : pngs) {
        QImage frame(QDir(folder).filePath(name), "PNG");
        QFile text(QDir(folder).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".txt")));
        if (frame.isNull() || !text.open(QIODevice::ReadOnly))
            return std::nullopt;
        result.frames.push_back(frame.convertToFormat(pixelFormat));
        result.delays.push_back(QString::fromLatin1(text.readAll()).trimmed());
        QFile::remove(QDir(folder).filePath(name));
        QFile::remove(text.fileName());
    }
    return result;
}

} // namespace plenoria::test
