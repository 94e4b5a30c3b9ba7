#include "Views/Pet/PetCustomizationPanel.h"

#include "Effects/Pet/BloopyProgress.h"
#include "Views/AppModel.h"
#include "Views/Kit/Disclosure.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SegmentedPicker.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/TextLabels.h"
#include "Views/SettingsViewState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Option = SegmentedPicker::Option;

const QList<Option> colorOptions{{QStringLiteral("cream"), QStringLiteral("Cream")},
                                 {QStringLiteral("ocean"), QStringLiteral("Ocean")},
                                 {QStringLiteral("lilac"), QStringLiteral("Lilac")},
                                 {QStringLiteral("mint"), QStringLiteral("Mint")},
                                 {QStringLiteral("pink"), QStringLiteral("Pink")}};
const QList<Option> faceOptions{{QStringLiteral("happy"), QStringLiteral("Happy")},
                                {QStringLiteral("sleepy"), QStringLiteral("Sleepy")},
                                {QStringLiteral("cheeky"), QStringLiteral("Cheeky")},
                                {QStringLiteral("grumpy"), QStringLiteral("Grumpy")},
                                {QStringLiteral("innocent"), QStringLiteral("Innocent")}};
const QList<Option> accessoryOptions{{QStringLiteral("none"), QStringLiteral("None")},
                                     {QStringLiteral("crown"), QStringLiteral("Crown")},
                                     {QStringLiteral("glasses"), QStringLiteral("Glasses")},
                                     {QStringLiteral("headphones"), QStringLiteral("Headphones")},
                                     {QStringLiteral("bow"), QStringLiteral("Bow")}};

}

PetCustomizationPanel::PetCustomizationPanel(AppModel &app, SettingsViewState &state, QWidget *parent)
    : SettingsPanel(QStringLiteral("Bloopy"), QStringLiteral("paintpalette.fill"), parent)
    , m_app(app)
    , m_state(state)
{
    SettingsStore &settings = app.settings();

    m_name = TextLabels::textField(this);
    m_name->setPlaceholderText(QStringLiteral("Dolphin name"));
    m_name->setAccessibleName(QStringLiteral("Dolphin name"));
    connect(m_name, &QLineEdit::textEdited, this, &PetCustomizationPanel::nameEdited);
    connect(m_name, &QLineEdit::returnPressed, this, &PetCustomizationPanel::nameSubmitted);
    m_level = new QLabel(this);
    m_level->setFont(KitStyle::font(FontRole::subheadline, QFont::Bold));
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_name, 1);
    nameRow->addWidget(m_level);
    add(nameRow);

    m_stayPut = new SwitchRow(QStringLiteral("Keep Bloopy in one spot"),
                              {[&settings] { return settings.petStayPut(); },
                               [&settings](bool on) { settings.setPetStayPut(on); }},
                              this);
    add(m_stayPut);

    m_appearance = new Disclosure(QStringLiteral("Appearance"), this);
    connect(m_appearance, &Disclosure::expandedChanged, this,
            [this](bool expanded) { m_state.bloopyAppearanceExpanded = expanded; });
    m_color = new SegmentedPicker(QStringLiteral("Color"), colorOptions, m_appearance);
    connect(m_color, &SegmentedPicker::chosen, this, [&settings](const QString &id) { settings.setPetColorID(id); });
    m_face = new SegmentedPicker(QStringLiteral("Face"), faceOptions, m_appearance);
    connect(m_face, &SegmentedPicker::chosen, this, [&settings](const QString &id) { settings.setPetFaceID(id); });
    m_accessory = new SegmentedPicker(QStringLiteral("Accessory"), accessoryOptions, m_appearance);
    connect(m_accessory, &SegmentedPicker::chosen, this,
            [&settings](const QString &id) { settings.setPetAccessoryID(id); });
    for (SegmentedPicker *picker : {m_color, m_face, m_accessory})
        m_appearance->body()->addWidget(picker);
    add(m_appearance);

    m_show = TextLabels::borderedButton(QStringLiteral("sparkles"), QStringLiteral("Show Bloopy"), this);
    connect(m_show, &QPushButton::clicked, this, [&settings] { settings.setPetEnabled(true); });
    auto *footer = new QHBoxLayout;
    footer->addWidget(TextLabels::hint(QStringLiteral("Drag Bloopy to place him; stay-put keeps that spot."), this), 1);
    footer->addWidget(m_show);
    add(footer);
}

void PetCustomizationPanel::nameEdited(const QString &text)
{
    // Cut by characters as the user sees them, so an emoji is never split.
    const QString kept = BloopyProgress::truncatedName(text);
    if (kept != text) {
        const QSignalBlocker blocker(m_name);
        m_name->setText(kept);
    }
    m_app.settings().setPetName(kept);
}

void PetCustomizationPanel::nameSubmitted()
{
    const QString name = BloopyProgress::normalizedName(m_app.settings().petName());
    m_app.settings().setPetName(name);
    if (m_name->text() != name) {
        const QSignalBlocker blocker(m_name);
        m_name->setText(name);
    }
}

void PetCustomizationPanel::sync(const QColor &accent)
{
    const SettingsStore &settings = m_app.settings();
    Bind::text(m_name, settings.petName());
    Bind::text(m_level, QStringLiteral("Level %1").arg(BloopyProgress::level(m_app.input().interactionSnapshot().keys)));
    if (accent != m_levelColor) {
        m_levelColor = accent;
        QPalette palette = m_level->palette();
        palette.setColor(QPalette::WindowText, accent);
        m_level->setPalette(palette);
    }
    m_stayPut->setAccent(accent);
    m_stayPut->sync();
    m_appearance->setExpanded(m_state.bloopyAppearanceExpanded);
    m_color->setCurrentValue(settings.petColorID());
    m_face->setCurrentValue(settings.petFaceID());
    m_accessory->setCurrentValue(settings.petAccessoryID());
    for (SegmentedPicker *picker : {m_color, m_face, m_accessory})
        picker->setAccent(accent);
    Bind::visible(m_show, !settings.petEnabled());
}
