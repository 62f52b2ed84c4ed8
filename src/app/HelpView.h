#pragma once

#include "app/HelpPage.h"

#include <QWidget>

namespace plenoria {

class HelpBrowser;
class HelpController;

// The help window, "Plenoria Help": the help pages in a browser, opening on one page; links to
// other pages load here, links elsewhere open in the user's browser. 840 × 720 at first, its
// content never below 620 × 420.
class HelpView : public QWidget {
    Q_OBJECT
public:
    static constexpr int defaultWidth = 840;
    static constexpr int defaultHeight = 720;
    static constexpr int minimumContentWidth = 620;
    static constexpr int minimumContentHeight = 420;

    explicit HelpView(HelpPage page = HelpPage::welcome, QWidget* parent = nullptr);

    HelpController& controller() const { return *m_controller; }
    HelpBrowser* browser() const { return m_browser; }

private:
    HelpController* m_controller;
    HelpBrowser* m_browser;
};

} // namespace plenoria
