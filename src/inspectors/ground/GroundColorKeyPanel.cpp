#include "inspectors/ground/GroundColorKeyPanel.h"

#include "imaging/model/HexColor.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/controls/InspectorSlider.h"
#include "inspectors/controls/InspectorText.h"
#include "inspectors/controls/ThemedLabel.h"
#include "inspectors/ground/GroundInspectorModel.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace plenoria {

namespace {

// The application style sinks a checked button only a shade, too little to see on the dark ground;
// the chosen reach takes the accent tint the segmented pickers use.
void tintReachButton(QPushButton* button)
{
    QPalette palette = button->palette();
    const QColor raised = Theme::raised();
    const QColor moss = Theme::moss();
    const float tint = button->isChecked() ? 0.25f : 0;
    const auto mix = [tint](float ground, float accent) { return ground * (1 - tint) + accent * tint; };
    palette.setColor(QPalette::Button,
        QColor::fromRgbF(mix(raised.redF(), moss.redF()), mix(raised.greenF(), moss.greenF()),
            mix(raised.blueF(), moss.blueF())));
    palette.setColor(QPalette::ButtonText, button->isChecked() ? Theme::ink() : Theme::inkSecondary());
    button->setPalette(palette);
}

QPushButton* reachButton(const QString& title)
{
    auto* button = new QPushButton(title);
    button->setCheckable(true);
    button->setAutoDefault(false);
    button->setFont(Theme::monospacedFont(11));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

BorderedButton* keyButton(const QString& title)
{
    auto* button = new BorderedButton(title);
    button->setFont(Theme::monospacedFont(12));
    return button;
}

// A slider with its caption under it, 2 apart.
QWidget* withCaption(QWidget* slider, const QString& caption)
{
    auto* group = new QWidget;
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(slider);
    layout->addWidget(InspectorText::note(caption));
    return group;
}

} // namespace

GroundColorKeyPanel::GroundColorKeyPanel(GroundInspectorModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_swatch(new QLabel)
    , m_hex(new ThemedLabel(QString(), Theme::monospacedFont(12), &Theme::inkSecondary))
    , m_resample(keyButton(QStringLiteral("Re-sample")))
    , m_pick(keyButton(QStringLiteral("Pick from the image")))
    , m_everywhere(reachButton(QStringLiteral("Everywhere")))
    , m_fromTheBorder(reachButton(QStringLiteral("From the edges")))
    , m_reach(new QButtonGroup(this))
    , m_reachCaption(InspectorText::note(QString()))
    , m_threshold(new InspectorSlider(QStringLiteral("Threshold"),
          Binding<double>(
              [&model] { return model.threshold(); }, [&model](double v) { model.setThreshold(v); }),
          0, 0.5, &GroundInspectorModel::thresholdValueText))
    , m_softness(new InspectorSlider(QStringLiteral("Softness"),
          Binding<double>(
              [&model] { return model.softness(); }, [&model](double v) { model.setSoftness(v); }),
          0, 1, &GroundInspectorModel::softnessValueText))
{
    m_swatch->setFixedSize(swatchSide, swatchSide);
    m_resample->setToolTip(
        QStringLiteral("Guess the color from the border pixels, as when opening this treatment"));
    m_pick->setToolTip(QStringLiteral("Select the color directly from your image"));
    m_pick->setSymbolName(QStringLiteral("color-picker"));
    m_pick->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_reach->setExclusive(true);
    m_reach->addButton(m_everywhere);
    m_reach->addButton(m_fromTheBorder);

    auto* keyRow = new QHBoxLayout;
    keyRow->setSpacing(8);
    keyRow->addWidget(m_swatch, 0, Qt::AlignVCenter);
    keyRow->addWidget(m_hex, 0, Qt::AlignVCenter);
    keyRow->addStretch(1);
    keyRow->addWidget(m_resample, 0, Qt::AlignVCenter);

    auto* reachRow = new QHBoxLayout;
    reachRow->setContentsMargins(0, 2, 0, 0);
    reachRow->setSpacing(0);
    reachRow->addWidget(m_everywhere);
    reachRow->addWidget(m_fromTheBorder);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addLayout(keyRow);
    layout->addWidget(m_pick);
    layout->addLayout(reachRow);
    layout->addWidget(m_reachCaption);
    layout->addWidget(withCaption(m_threshold, QStringLiteral("Proximity to selected color")));
    layout->addWidget(withCaption(m_softness, QStringLiteral("Background-to-subject blend width")));

    connect(m_resample, &QPushButton::clicked, &m_model, &GroundInspectorModel::resample);
    connect(m_pick, &QPushButton::clicked, &m_model, &GroundInspectorModel::pickColor);
    connect(m_everywhere, &QPushButton::clicked, this, [this] { m_model.setReach(KeyReach::everywhere); });
    connect(
        m_fromTheBorder, &QPushButton::clicked, this, [this] { m_model.setReach(KeyReach::fromTheBorder); });
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &GroundColorKeyPanel::refresh);
    refresh();
}

QString GroundColorKeyPanel::hexText() const
{
    return m_hex->text();
}

QString GroundColorKeyPanel::reachCaption() const
{
    return m_reachCaption->text();
}

void GroundColorKeyPanel::refresh()
{
    paintSwatch();
    m_hex->setText(m_model.keyHex().toLower());
    m_resample->setEnabled(m_model.canResample());
    const KeyReach reach = m_model.reach();
    {
        const QSignalBlocker blocker(m_reach);
        m_everywhere->setChecked(reach == KeyReach::everywhere);
        m_fromTheBorder->setChecked(reach == KeyReach::fromTheBorder);
    }
    tintReachButton(m_everywhere);
    tintReachButton(m_fromTheBorder);
    m_reachCaption->setText(GroundInspectorModel::reachCaption(reach));
    m_threshold->refresh();
    m_softness->refresh();
}

void GroundColorKeyPanel::paintSwatch()
{
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(QSize(swatchSide, swatchSide) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // The outline lies inside the edge, so the swatch keeps its size.
    const QRectF box = QRectF(0, 0, swatchSide, swatchSide).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(withOpacity(Theme::ink(), 0.15), 1));
    painter.setBrush(parseHexColor(m_model.keyHex()));
    painter.drawRoundedRect(box, 4, 4);
    painter.end();
    m_swatch->setPixmap(pixmap);
}

} // namespace plenoria
