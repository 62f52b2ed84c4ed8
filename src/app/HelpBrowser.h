#pragma once

#include <QTextBrowser>

namespace plenoria {

// The help pages' browser: the text in one centred column of a readable width, in the theme's
// colours and fonts. Follows no link by itself; the help window decides.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    static constexpr int maximumColumnWidth = 720;

    explicit HelpBrowser(QWidget* parent = nullptr);

    // The rules the bundled style sheet leaves to the theme: colours and font families.
    static QString themeStyleSheet();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyTheme();
};

} // namespace plenoria
