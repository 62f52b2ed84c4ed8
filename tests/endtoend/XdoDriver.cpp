#include "XdoDriver.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <QWidget>

namespace plenoria::test {

void XdoDriver::then(const QString& what, Step step, std::chrono::milliseconds limit)
{
    m_steps.push_back({what, std::move(step), limit});
}

QString XdoDriver::run()
{
    QString failure;
    size_t next = 0;
    QElapsedTimer stepClock;
    stepClock.start();
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(50);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        // A step that opens a menu or a dialog runs its loop inside this call: later ticks carry on.
        static thread_local bool busy = false;
        if (busy)
            return;
        busy = true;
        while (next < m_steps.size() && failure.isEmpty()) {
            const Entry& entry = m_steps[next];
            if (entry.step()) {
                ++next;
                stepClock.restart();
                continue;
            }
            if (stepClock.elapsed() > entry.limit.count())
                failure = QStringLiteral("step %1 did not happen: %2").arg(next + 1).arg(entry.what);
            break;
        }
        busy = false;
        if (next == m_steps.size() || !failure.isEmpty()) {
            tick.stop();
            loop.quit();
        }
    });
    tick.start();
    loop.exec();
    return failure;
}

bool XdoDriver::xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(PLENORIA_XDOTOOL), arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

bool XdoDriver::click(const QWidget* widget, QPoint local, int button)
{
    const QPoint global = widget->mapToGlobal(local);
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(global.x()),
               QString::number(global.y())})
        && xdotool({QStringLiteral("click"), QString::number(button)});
}

bool XdoDriver::clickCentre(const QWidget* widget, int button)
{
    return click(widget, widget->rect().center(), button);
}

bool XdoDriver::key(const QWidget* widget, const QString& keysym)
{
    const QString window = QString::number(widget->window()->winId());
    return xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window})
        && xdotool({QStringLiteral("key"), keysym});
}

} // namespace plenoria::test
