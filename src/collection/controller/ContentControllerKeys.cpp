#include "collection/controller/ContentController.h"

#include "store/SpacesAndTabs.h"

#include <QApplication>
#include <algorithm>

namespace plenoria {

namespace {

// A whole decimal integer with an optional sign and ASCII digits only; none for anything else.
std::optional<qint64> wholeNumber(const QString& characters)
{
    qsizetype start = 0;
    if (characters.startsWith(QLatin1Char('+')) || characters.startsWith(QLatin1Char('-')))
        start = 1;
    if (start == characters.size())
        return std::nullopt;
    qint64 value = 0;
    for (qsizetype i = start; i < characters.size(); ++i) {
        const char16_t c = characters.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        // Anything this long is far outside the destinations; stop before it overflows.
        if (value > 1'000'000)
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return start == 1 && characters.front() == QLatin1Char('-') ? -value : value;
}

// The one user-perceived letter the characters consist of, or none.
std::optional<QString> singleLetter(const QString& characters)
{
    if (characters.size() == 1 && characters.front().isLetter())
        return characters;
    if (characters.size() == 2 && characters.front().isHighSurrogate() && characters.back().isLowSurrogate()
        && QChar::isLetter(QChar::surrogateToUcs4(characters.front(), characters.back())))
        return characters;
    return std::nullopt;
}

std::optional<qsizetype> positionOf(const QList<ImageItem>& list, const std::optional<QUrl>& url)
{
    if (!url)
        return std::nullopt;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list.at(i).url == *url)
            return i;
    }
    return std::nullopt;
}

bool isOneOf(const QString& characters, std::initializer_list<const char16_t*> options)
{
    for (const char16_t* option : options) {
        if (characters == QStringView(option))
            return true;
    }
    return false;
}

} // namespace

std::chrono::steady_clock::time_point ContentController::now() const
{
    return m_clock ? m_clock() : std::chrono::steady_clock::now();
}

void ContentController::beep() const
{
    if (m_beep)
        m_beep();
    else
        QApplication::beep();
}

KeyPressResult ContentController::handleKeyPress(const KeyPress& press)
{
    if (interactionMode() != InteractionMode::browsing)
        return KeyPressResult::ignored;
    KeyPressResult result = KeyPressResult::ignored;
    runAction([&] {
        const QString characters = press.characters();
        const bool ctrl = press.withCtrl();
        if (press.asksForUndo()) {
            undoLast();
            result = KeyPressResult::handled;
        } else if (ctrl && press.key == Qt::Key_F) {
            focusFilterField();
            result = KeyPressResult::handled;
        } else if (press.key == Qt::Key_Return || press.key == Qt::Key_Enter
            || isOneOf(characters, {u"\r", u"\n"})) {
            result = ctrl ? KeyPressResult::ignored : beginRename();
        } else if (press.key == Qt::Key_Up || press.key == Qt::Key_Down) {
            const bool up = press.key == Qt::Key_Up;
            if (press.withAlt())
                selectEdge(up);
            else
                moveSelection(up ? -1 : 1);
            result = KeyPressResult::handled;
        } else if (ctrl) {
            result = KeyPressResult::ignored;
        } else if (isOneOf(characters, {u"[", u"-"})) {
            m_prefs.setZoom(stepped(m_prefs.zoom(), -1));
            result = KeyPressResult::handled;
        } else if (isOneOf(characters, {u"]", u"=", u"+"})) {
            m_prefs.setZoom(stepped(m_prefs.zoom(), 1));
            result = KeyPressResult::handled;
        } else if (isOneOf(characters, {u"0"})) {
            m_prefs.setZoom(m_prefs.defaultZoom());
            result = KeyPressResult::handled;
        } else if (isOneOf(characters, {u"/"})) {
            m_prefs.setAnimateGIFs(!m_prefs.animateGIFs());
            result = KeyPressResult::handled;
        } else if (isOneOf(characters, {u"*", u"\\"})) {
            result = openBench(false);
        } else if (const std::optional<qint64> n = wholeNumber(characters); n && *n >= 1 && *n <= 9) {
            const QString name = m_prefs.subfolderNames().value(*n - 1);
            result = trimmedOfSpacesAndTabs(name).isEmpty() ? KeyPressResult::ignored : fileSelection(*n - 1);
        } else {
            result = handleTypeahead(characters);
        }
    });
    return result;
}

void ContentController::undoLast()
{
    runAction([this] {
        const FilingOutcome outcome = m_store.undo();
        switch (outcome.kind) {
        case FilingOutcome::Kind::undone:
            setSelection(outcome.item->url);
            showToast(outcome.message.isEmpty()
                    ? QStringLiteral("Moved ") + outcome.item->filename + QStringLiteral(" back.")
                    : outcome.message);
            break;
        case FilingOutcome::Kind::renameUndone:
            setSelection(outcome.item->url);
            showToast(outcome.message.isEmpty()
                    ? QStringLiteral("Renamed back to ") + outcome.item->filename + QStringLiteral(".")
                    : outcome.message);
            break;
        case FilingOutcome::Kind::failed:
            showToast(outcome.message);
            break;
        case FilingOutcome::Kind::nothingToUndo:
            beep();
            break;
        case FilingOutcome::Kind::filed:
        case FilingOutcome::Kind::skipped:
            break;
        }
    });
}

KeyPressResult ContentController::beginRename()
{
    if (!m_selection)
        return KeyPressResult::ignored;
    setRenamingItemID(m_selection);
    return KeyPressResult::handled;
}

void ContentController::moveSelection(qint64 delta)
{
    if (m_filteredItems.isEmpty())
        return;
    const qint64 from = positionOf(m_filteredItems, m_selection).value_or(0);
    const qint64 target = std::clamp<qint64>(from + delta, 0, m_filteredItems.size() - 1);
    setSelection(m_filteredItems.at(target).url);
}

void ContentController::selectEdge(bool first)
{
    if (m_filteredItems.isEmpty())
        setSelection(std::nullopt);
    else
        setSelection(first ? m_filteredItems.first().url : m_filteredItems.last().url);
}

KeyPressResult ContentController::fileSelection(qint64 index)
{
    // No filing may move a file whose name is still being typed.
    resolveRename();
    const std::optional<qsizetype> position = positionOf(m_filteredItems, m_selection);
    if (!position || index < 0 || index >= Preferences::destinationCount)
        return KeyPressResult::ignored;
    KeyPressResult result = KeyPressResult::ignored;
    runAction([&] { result = fileSelectionAction(*position, index); });
    return result;
}

KeyPressResult ContentController::fileSelectionAction(qsizetype position, qint64 index)
{
    const QList<ImageItem> before = m_filteredItems;
    const ImageItem item = before.at(position);
    const FilingOutcome outcome = m_store.fileItem(item, m_prefs.subfolderNames().value(index));
    switch (outcome.kind) {
    case FilingOutcome::Kind::filed:
        selectNeighbour(position, before);
        if (!outcome.message.isEmpty())
            showToast(outcome.message);
        else if (outcome.renamedTo)
            showToast(item.filename + QStringLiteral(" exists. ") + *outcome.renamedTo
                + QStringLiteral(" created. Press Ctrl+Z to undo."));
        break;
    case FilingOutcome::Kind::skipped:
    case FilingOutcome::Kind::failed:
        showToast(outcome.message);
        break;
    case FilingOutcome::Kind::undone:
    case FilingOutcome::Kind::renameUndone:
    case FilingOutcome::Kind::nothingToUndo:
        break;
    }
    return KeyPressResult::handled;
}

void ContentController::selectNeighbour(qint64 index, const QList<ImageItem>& list)
{
    if (index + 1 < list.size())
        setSelection(list.at(index + 1).url);
    else if (index >= 1 && index - 1 < list.size())
        setSelection(list.at(index - 1).url);
    else
        setSelection(std::nullopt);
}

KeyPressResult ContentController::handleTypeahead(const QString& characters)
{
    const std::optional<QString> typed = singleLetter(characters);
    if (!typed)
        return KeyPressResult::ignored;
    KeyPressResult result = KeyPressResult::ignored;
    runAction([&] { result = typeaheadAction(*typed); });
    return result;
}

KeyPressResult ContentController::typeaheadAction(const QString& typed)
{
    const auto pressedAt = now();
    if (!m_lastTypeaheadKeystroke || pressedAt - *m_lastTypeaheadKeystroke > typeaheadTimeout)
        m_typeaheadBuffer.clear();
    m_lastTypeaheadKeystroke = pressedAt;

    const QString letter = typed.toLower();
    const QString candidate = m_typeaheadBuffer + letter;
    for (const QString& prefix : {candidate, letter}) {
        for (const ImageItem& item : std::as_const(m_filteredItems)) {
            if (item.filename.toLower().startsWith(prefix)) {
                m_typeaheadBuffer = prefix;
                setSelection(item.url);
                return KeyPressResult::handled;
            }
        }
    }
    m_typeaheadBuffer.clear();
    return KeyPressResult::handled;
}

} // namespace plenoria
