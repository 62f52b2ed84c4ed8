#include "collection/controller/ContentController.h"

#include "imaging/model/FramesSpec.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/read/RegularFile.h"
#include "store/FileResult.h"

#include <QTimer>

namespace plenoria {

namespace {

// Why the bench cannot open a file, in the words of its toast.
QString refusalReason(const RegularFile::Contents& read)
{
    switch (read.refusal) {
    case RegularFile::Contents::Refusal::notAFile:
        return QStringLiteral("it isn\u2019t an image file.");
    case RegularFile::Contents::Refusal::tooLarge:
        return QStringLiteral("it is too large.");
    case RegularFile::Contents::Refusal::unreadable:
    case RegularFile::Contents::Refusal::none:
        break;
    }
    return FileResult::failure(read.error).description();
}

} // namespace

KeyPressResult ContentController::openBench(bool timingRepair)
{
    // A bench must never open on a file whose name is still being typed.
    resolveRename();
    const std::optional<ImageItem> item = selectedItem();
    if (!item)
        return KeyPressResult::ignored;
    runAction([&] {
        // A pipe or a device put in the image's place would stall the window, a huge file exhaust memory.
        // A link is no image of the folder (the scan lists none), and a save would replace it with a file.
        RegularFile::Contents read = RegularFile::readWhole(
            item->url.toLocalFile(), RegularFile::maxFileBytes, RegularFile::Links::refuse);
        if (!read.ok()) {
            showToast(QStringLiteral("Couldn\u2019t open ") + item->filename + QStringLiteral(": ")
                + refusalReason(read));
            return;
        }
        RestorationSession session;
        session.fileURL = item->url;
        session.originalData = std::move(read.bytes);
        if (timingRepair) {
            if (const std::optional<Filmstrip> strip = Filmstrip::fromData(session.originalData)) {
                if (const std::optional<FramesSpec> fix = timingFix(*strip))
                    session.record.emplace_back(Treatment(*fix));
            }
        }
        setEditingSession(std::move(session));
        setListFocused(false);
    });
    return KeyPressResult::handled;
}

void ContentController::closeBench()
{
    runAction([this] {
        setEditingSession(std::nullopt);
        setListFocused(false);
    });
    refocusListNextTurn();
}

void ContentController::saveFromBench(const RestorationSession& session, bool backup)
{
    runAction([&] {
        const RestorationOutcome outcome = m_store.save(session, backup);
        if (outcome.kind != RestorationOutcome::Kind::saved || !outcome.item) {
            showToast(outcome.message);
            return;
        }
        setEditingSession(std::nullopt);
        setSelection(outcome.item->url);
        setListFocused(false);
        refocusListNextTurn();
        // The words follow what the bench asked for, unless the store has more to say about the backup.
        if (!outcome.message.isEmpty())
            showToast(outcome.message);
        else
            showToast(QStringLiteral("Saved ") + outcome.item->filename
                + (backup ? QStringLiteral(". Original backed up \u2014 right-click to restore it.")
                          : QStringLiteral(".")));
    });
}

void ContentController::exportFromBench(const RestorationSession& session, const QString& name,
    ExportFormat format, double quality, const GIFPalette& palette)
{
    runAction([&] {
        const RestorationOutcome outcome = m_store.exportImage(session, name, format, quality, palette);
        if (outcome.kind == RestorationOutcome::Kind::exported)
            showToast(QStringLiteral("Exported ") + outcome.name + QStringLiteral("."));
        else
            showToast(outcome.message);
    });
}

void ContentController::refocusListNextTurn()
{
    // After the bench has gone from the screen and the window is browsing again.
    QTimer::singleShot(0, this, &ContentController::refocusListIfBrowsing);
}

} // namespace plenoria
