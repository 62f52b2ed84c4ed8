#pragma once

#include <QProxyStyle>

namespace plenoria {

// Fusion, with tooltips drawn opaque (a translucent tooltip window needs a compositor, and a
// desktop without one shows it as a black box) and combo box lists that keep to their row limit.
class AppStyle : public QProxyStyle {
    Q_OBJECT
public:
    AppStyle();

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
        QStyleHintReturn* returnData = nullptr) const override;
};

} // namespace plenoria
