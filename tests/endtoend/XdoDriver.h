#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <vector>

class QWidget;

namespace plenoria::test {

// Plays a script of steps against the running application with real X input from xdotool. Steps
// are taken from a timer, which also fires inside the nested event loops of menus and modal
// dialogs, so a step can act on a menu that is open. A step returns true when it is done; a
// waiting step is asked again until it is or its time runs out.
class XdoDriver {
public:
    using Step = std::function<bool()>;

    // Adds a step; `what` names it in the failure message.
    void then(const QString& what, Step step, std::chrono::milliseconds limit = std::chrono::seconds(15));
    // Runs every step in order; empty when all were done, else what failed.
    [[nodiscard]] QString run();

    // Real input. Each returns false when xdotool failed.
    static bool click(const QWidget* widget, QPoint local, int button = 1);
    static bool clickCentre(const QWidget* widget, int button = 1);
    // Presses a key (an X keysym name: "Return", "backslash") in the window of `widget`, which
    // first gets the input focus: there is no window manager to give it.
    static bool key(const QWidget* widget, const QString& keysym);
    static bool xdotool(const QStringList& arguments);

private:
    struct Entry {
        QString what;
        Step step;
        std::chrono::milliseconds limit;
    };
    std::vector<Entry> m_steps;
};

} // namespace plenoria::test
