#include "app/FrameKeeper.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace plenoria {

FrameKeeper::FrameKeeper(QWidget* window, QSettings* settings)
    : QObject(window)
    , m_window(window)
    , m_settings(settings ? settings : new QSettings)
    , m_ownsSettings(!settings)
{
    m_pendingSave.setSingleShot(true);
    m_pendingSave.setInterval(saveDelayMs);
    connect(&m_pendingSave, &QTimer::timeout, this, &FrameKeeper::saveFrame);
    restore();
    m_window->installEventFilter(this);
}

FrameKeeper::~FrameKeeper()
{
    if (m_ownsSettings)
        delete m_settings;
}

QString FrameKeeper::frameText(const QRect& frame)
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(frame.x())
        .arg(frame.y())
        .arg(frame.width())
        .arg(frame.height());
}

std::optional<QRect> FrameKeeper::frameFromText(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("-?\\d+(?:\\.\\d+)?"));
    QList<double> values;
    for (auto match = number.globalMatch(text); match.hasNext();)
        values.append(match.next().captured().toDouble());
    if (values.size() != 4 || values.at(2) < 1 || values.at(3) < 1)
        return std::nullopt;
    // Beyond any screen: a damaged value, not a frame.
    constexpr double limit = 1 << 20;
    for (const double value : values) {
        if (value > limit || value < -limit)
            return std::nullopt;
    }
    return QRect(static_cast<int>(values.at(0)), static_cast<int>(values.at(1)),
        static_cast<int>(values.at(2)), static_cast<int>(values.at(3)));
}

bool FrameKeeper::isReachable(const QRect& frame, const QList<QRect>& screens)
{
    for (const QRect& screen : screens) {
        const QRect shared = frame.intersected(screen);
        if (shared.top() == frame.top() && shared.width() >= reachableWidth
            && shared.height() >= reachableHeight)
            return true;
    }
    return false;
}

void FrameKeeper::restore()
{
    const QVariant stored = m_settings->value(QLatin1String(key));
    if (!stored.isValid())
        return;
    const std::optional<QRect> frame = frameFromText(stored.toString());
    if (!frame)
        return;
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    // A frame left on a display that is gone stays stored; the next move or resize replaces it.
    if (isReachable(*frame, screens))
        m_window->setGeometry(*frame);
}

bool FrameKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            if (m_window->isVisible())
                m_pendingSave.start();
            break;
        case QEvent::Close:
            saveFrameNow();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void FrameKeeper::saveFrame()
{
    m_settings->setValue(QLatin1String(key), frameText(m_window->geometry()));
    emit frameSaved();
}

void FrameKeeper::saveFrameNow()
{
    m_pendingSave.stop();
    saveFrame();
}

} // namespace plenoria
