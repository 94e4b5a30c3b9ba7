#include "Views/Studio/ClipStudioView.h"

#include "Views/Studio/StudioWaveformView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
constexpr int sliderSteps = 1'000'000;
constexpr int pageWidth = 680;
constexpr int idealHeight = 680;
constexpr int tallestPage = 740;
const QColor errorRed(0xd7, 0x00, 0x15);

QFont roleFont(const QWidget *widget, int pixelSize, bool bold = false)
{
    QFont font = widget->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QLabel *label(const QString &text, int pixelSize, bool secondary, bool bold = false)
{
    auto *result = new QLabel(text);
    result->setFont(roleFont(result, pixelSize, bold));
    result->setWordWrap(true);
    if (secondary)
        result->setForegroundRole(QPalette::PlaceholderText);
    return result;
}

// Sizes of the text roles in pixels.
constexpr int largeTitle = 26;
constexpr int title2 = 17;
constexpr int callout = 12;
constexpr int caption = 10;
constexpr int body = 13;

QPushButton *button(const QString &text, const QString &help = {})
{
    auto *result = new QPushButton(text);
    result->setToolTip(help);
    return result;
}

QHBoxLayout *row(QWidget *parent = nullptr)
{
    auto *layout = new QHBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

QString twoDecimals(double value)
{
    return QString::asprintf("%.2f", value);
}

template <typename Widget, typename Value, typename Setter>
void setIfDifferent(Widget *widget, const Value &current, const Value &wanted, Setter set)
{
    if (current == wanted)
        return;
    const QSignalBlocker blocker(widget);
    (widget->*set)(wanted);
}
}

ClipStudioView::ClipStudioView(SoundPackManager *packManager, std::unique_ptr<StudioPreviewPlayer> player,
                               AppShell *shell, const QString &startingAudioPath, QWidget *parent)
    : QWidget(parent)
    , m_model(new ClipStudioModel(packManager, std::move(player), shell, this))
    , m_startingAudioPath(startingAudioPath)
{
    setAcceptDrops(true);
    setMinimumWidth(pageWidth);
    setMaximumHeight(tallestPage);
    resize(pageWidth, idealHeight);

    auto *content = new QWidget;
    auto *page = new QVBoxLayout(content);
    page->setContentsMargins(24, 24, 24, 24);
    page->setSpacing(16);
    page->addWidget(buildHeader());

    m_busyRow = new QWidget;
    auto *busy = row(m_busyRow);
    auto *spinner = new QProgressBar;
    spinner->setRange(0, 0);
    spinner->setMaximumWidth(120);
    spinner->setTextVisible(false);
    busy->addWidget(spinner);
    busy->addWidget(label(QStringLiteral("Loading audio…"), body, false));
    busy->addStretch();
    page->addWidget(m_busyRow);

    m_emptyState = buildEmptyState();
    m_editor = buildEditor();
    page->addWidget(m_emptyState);
    page->addWidget(m_editor);
    auto *divider = new QFrame;
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    page->addWidget(divider);
    page->addWidget(buildPackSection());
    page->addStretch();

    auto *scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    connect(m_model, &ClipStudioModel::changed, this, &ClipStudioView::scheduleSync);
    connect(m_model, &ClipStudioModel::clipLoaded, this,
            [this] { m_waveform->setEnvelope(m_model->bins(), m_model->totalFrames()); });
    sync();
}

QWidget *ClipStudioView::buildHeader()
{
    auto *header = new QWidget;
    auto *layout = row(header);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(4);
    for (QLabel *line : {label(QStringLiteral("Sound Studio"), largeTitle, false, true),
                         label(QStringLiteral("Shape a sound. Keep the original."), body, true)}) {
        line->setWordWrap(false);
        titles->addWidget(line);
    }
    layout->addLayout(titles);
    layout->addStretch();
    m_openButton = button(QStringLiteral("Open Audio…"));
    connect(m_openButton, &QPushButton::clicked, this, &ClipStudioView::openAudio);
    layout->addWidget(m_openButton, 0, Qt::AlignTop);
    return header;
}

QWidget *ClipStudioView::buildEmptyState()
{
    auto *panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(24, 32, 24, 32);
    layout->setSpacing(10);
    auto *icon = new QLabel;
    icon->setPixmap(QIcon::fromTheme(QStringLiteral("audio-x-generic")).pixmap(40, 40));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    auto *title = label(QStringLiteral("Make it yours"), title2, false, true);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto *description = label(QStringLiteral("Drop an audio file here, or open a clip to crop, balance and soften its "
                                             "edges. Up to 30 seconds, mono or stereo."),
                              body, true);
    description->setAlignment(Qt::AlignCenter);
    layout->addWidget(description);
    return panel;
}

QWidget *ClipStudioView::buildEditor()
{
    auto *editor = new QWidget;
    auto *layout = new QVBoxLayout(editor);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    m_waveform = new StudioWaveformView;
    connect(m_waveform, &StudioWaveformView::selectionChanged, this, [this](WaveformSelection selection) {
        m_model->setStart(selection.start);
        m_model->setEnd(selection.end);
    });
    layout->addWidget(m_waveform);
    m_info = label({}, caption + 1, true);
    layout->addWidget(m_info);

    layout->addWidget(sliderRow(QStringLiteral("Start"), 1, &ClipStudioModel::start, &ClipStudioModel::setStart));
    layout->addWidget(sliderRow(QStringLiteral("End"), 1, &ClipStudioModel::end, &ClipStudioModel::setEnd));
    layout->addWidget(sliderRow(QStringLiteral("Gain"), 4, &ClipStudioModel::gain, &ClipStudioModel::setGain));
    layout->addWidget(
        sliderRow(QStringLiteral("Fade in (seconds)"), 1, &ClipStudioModel::fadeIn, &ClipStudioModel::setFadeIn));
    layout->addWidget(
        sliderRow(QStringLiteral("Fade out (seconds)"), 1, &ClipStudioModel::fadeOut, &ClipStudioModel::setFadeOut));

    auto *edits = row();
    const auto addAction = [this](QHBoxLayout *target, QPushButton *action, auto slot) {
        connect(action, &QPushButton::clicked, this, slot);
        target->addWidget(action);
    };
    addAction(edits, button(QStringLiteral("Apply Edit")), [this] { m_model->applyEdit(); });
    addAction(edits, button(QStringLiteral("Undo")), [this] { m_model->undo(); });
    addAction(edits, button(QStringLiteral("Redo")), [this] { m_model->redo(); });
    addAction(edits,
              button(QStringLiteral("Normalize"),
                     QStringLiteral("Balance the shown selection to 80% peak level, with up to 4× gain. Undo restores "
                                    "your previous edit.")),
              [this] { m_model->normalize(); });
    edits->addStretch();
    addAction(edits, button(QStringLiteral("Preview")), [this] { m_model->preview(); });
    addAction(edits, button(QStringLiteral("Export WAV…")), [this] { exportWav(); });
    layout->addLayout(edits);

    auto *cleanup = row();
    addAction(cleanup,
              button(QStringLiteral("Trim quiet edges"),
                     QStringLiteral("Remove leading and trailing audio below -50 dB, keeping 10 ms of breathing room. "
                                    "The original stays untouched.")),
              [this] { m_model->trimQuietEdges(); });
    addAction(cleanup,
              button(QStringLiteral("Reset to original"),
                     QStringLiteral("Restore the whole original clip and default gain/fades. Undo brings your edit "
                                    "back.")),
              [this] { m_model->resetToOriginal(); });
    cleanup->addStretch();
    layout->addLayout(cleanup);

    layout->addWidget(label(QStringLiteral("Preview, export and Add to Pack use the controls shown. Exports create new "
                                           "files; the original is never overwritten."),
                            caption + 1, true));

    auto *assignment = row();
    assignment->addWidget(new QLabel(QStringLiteral("Assignment")));
    m_group = new QComboBox;
    m_group->setAccessibleName(QStringLiteral("Assignment"));
    for (KeyGroup group : allCases<KeyGroup>())
        m_group->addItem(rawValue(group));
    connect(m_group, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model->setGroup(allCases<KeyGroup>()[std::size_t(index)]); });
    assignment->addWidget(m_group);
    assignment->addSpacing(12);
    assignment->addWidget(new QLabel(QStringLiteral("Event")));
    m_phase = new QComboBox;
    m_phase->setAccessibleName(QStringLiteral("Event"));
    m_phase->addItems({QStringLiteral("Press"), QStringLiteral("Release")});
    connect(m_phase, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model->setPhase(index == 0 ? KeyPhase::down : KeyPhase::up); });
    assignment->addWidget(m_phase);
    assignment->addStretch();
    m_addButton = button(QStringLiteral("Add to Pack"));
    addAction(assignment, m_addButton, [this] { m_model->addToPack(); });
    layout->addLayout(assignment);
    return editor;
}

QWidget *ClipStudioView::sliderRow(const QString &title, double maximum, double (ClipStudioModel::*read)() const,
                                   void (ClipStudioModel::*write)(double))
{
    auto *container = new QWidget;
    auto *layout = row(container);
    auto *name = new QLabel(title);
    name->setFixedWidth(150);
    layout->addWidget(name);
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, sliderSteps);
    slider->setAccessibleName(title);
    layout->addWidget(slider, 1);
    // A fixed frame keeps the row still while the digits change.
    auto *value = new QLabel;
    value->setFixedWidth(45);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(value);
    connect(slider, &QSlider::valueChanged, this,
            [this, write, maximum](int position) { (m_model->*write)(double(position) / sliderSteps * maximum); });
    m_sliders.push_back(SliderRow{slider, value, maximum, read});
    return container;
}

QWidget *ClipStudioView::buildPackSection()
{
    auto *section = new QWidget;
    auto *layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(label(QStringLiteral("Your sound pack"), title2, false, true));

    const auto field = [&](const QString &placeholder, void (ClipStudioModel::*write)(const QString &)) {
        auto *edit = new QLineEdit;
        edit->setPlaceholderText(placeholder);
        edit->setAccessibleName(placeholder);
        connect(edit, &QLineEdit::textEdited, this, [this, write](const QString &text) { (m_model->*write)(text); });
        layout->addWidget(edit);
        return edit;
    };
    m_packName = field(QStringLiteral("Pack name"), &ClipStudioModel::setPackName);
    m_creator = field(QStringLiteral("Creator name"), &ClipStudioModel::setCreator);
    m_rights = field(QStringLiteral("License / permission to share"), &ClipStudioModel::setRights);
    layout->addWidget(label(QStringLiteral("Only share audio you have permission to distribute. Unknown does not grant "
                                           "others redistribution rights."),
                            caption + 1, true));
    m_reactionPack = new QCheckBox(QStringLiteral("Reaction pack (all assignments must be Reaction)"));
    connect(m_reactionPack, &QCheckBox::toggled, this, [this](bool on) { m_model->setReactionPack(on); });
    layout->addWidget(m_reactionPack);

    m_assignmentRows = new QVBoxLayout;
    m_assignmentRows->setSpacing(4);
    layout->addLayout(m_assignmentRows);

    auto *packRow = row();
    m_exportPackButton = button(QStringLiteral("Export Pack Folder…"));
    connect(m_exportPackButton, &QPushButton::clicked, this, &ClipStudioView::exportPackFolder);
    packRow->addWidget(m_exportPackButton);
    m_installButton = button(QStringLiteral("Install Pack"));
    connect(m_installButton, &QPushButton::clicked, this, [this] { m_model->installPack(); });
    packRow->addWidget(m_installButton);
    packRow->addStretch();
    m_counter = label({}, caption + 1, true);
    m_counter->setWordWrap(false);
    packRow->addWidget(m_counter);
    layout->addLayout(packRow);

    m_notice = label({}, callout, true);
    m_error = label({}, callout, false);
    QPalette red = m_error->palette();
    red.setColor(QPalette::WindowText, errorRed);
    m_error->setPalette(red);
    layout->addWidget(m_notice);
    layout->addWidget(m_error);
    return section;
}

void ClipStudioView::scheduleSync()
{
    if (m_syncPending)
        return;
    m_syncPending = true;
    QTimer::singleShot(0, this, [this] {
        m_syncPending = false;
        sync();
    });
}

void ClipStudioView::sync()
{
    const ClipStudioModel &model = *m_model;
    const bool loaded = model.clip().has_value();
    m_openButton->setEnabled(!model.busy());
    m_busyRow->setVisible(model.busy());
    m_emptyState->setVisible(!loaded);
    m_editor->setVisible(loaded);

    if (loaded) {
        m_waveform->setSelection(WaveformSelection{model.start(), model.end()});
        m_info->setText(model.clipInfo());
    }
    for (const SliderRow &slider : m_sliders) {
        const double value = (model.*slider.read)();
        const int position = int(std::lround(std::clamp(value / slider.maximum, 0.0, 1.0) * sliderSteps));
        setIfDifferent(slider.slider, slider.slider->value(), position, &QSlider::setValue);
        slider.value->setText(twoDecimals(value));
    }
    constexpr auto groups = allCases<KeyGroup>();
    const int groupIndex = int(std::ranges::find(groups, model.group()) - groups.begin());
    setIfDifferent(m_group, m_group->currentIndex(), groupIndex, &QComboBox::setCurrentIndex);
    setIfDifferent(m_phase, m_phase->currentIndex(), model.phase() == KeyPhase::down ? 0 : 1,
                   &QComboBox::setCurrentIndex);
    m_addButton->setEnabled(model.canAddToPack());

    for (auto [edit, text] : {std::pair{m_packName, &model.packName()}, std::pair{m_creator, &model.creator()},
                              std::pair{m_rights, &model.rights()}}) {
        if (!edit->hasFocus())
            setIfDifferent(edit, edit->text(), *text, &QLineEdit::setText);
    }
    setIfDifferent(m_reactionPack, m_reactionPack->isChecked(), model.reactionPack(), &QCheckBox::setChecked);
    syncAssignments();
    m_exportPackButton->setEnabled(model.canExportPack());
    m_installButton->setEnabled(model.canInstallPack());
    m_counter->setText(model.counterText());
    m_notice->setText(model.notice().value_or(QString()));
    m_notice->setVisible(model.notice().has_value());
    m_error->setText(model.error().value_or(QString()));
    m_error->setVisible(model.error().has_value());
}

void ClipStudioView::syncAssignments()
{
    QStringList texts;
    for (qsizetype i = 0; i < qsizetype(m_model->assignments().size()); ++i)
        texts.append(m_model->assignmentText(i));
    if (texts == m_shownAssignments)
        return;
    m_shownAssignments = texts;
    while (QLayoutItem *item = m_assignmentRows->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto *line = new QWidget;
        auto *layout = row(line);
        layout->addWidget(new QLabel(texts[i]));
        layout->addStretch();
        auto *remove = button(QStringLiteral("Remove"));
        remove->setAccessibleName(QStringLiteral("Remove %1").arg(i + 1));
        connect(remove, &QPushButton::clicked, this, [this, i] { m_model->removeAssignment(i); });
        layout->addWidget(remove);
        m_assignmentRows->addWidget(line);
    }
}

void ClipStudioView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shownOnce && !m_startingAudioPath.isEmpty() && !m_model->clip())
        m_model->load(m_startingAudioPath);
    m_shownOnce = true;
}

void ClipStudioView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_model->close();
}

void ClipStudioView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void ClipStudioView::dropEvent(QDropEvent *event)
{
    if (m_model->drop(event->mimeData()->urls()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ClipStudioView::openAudio()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open Audio"), {},
        QStringLiteral("Audio files (*.wav *.wave *.aif *.aiff *.flac *.ogg *.oga *.mp3)"));
    if (!path.isEmpty())
        m_model->load(path);
}

void ClipStudioView::exportWav()
{
    if (!m_model->prepareExport())
        return;
    QFileDialog dialog(this, QStringLiteral("Export WAV"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("WAV audio (*.wav)"));
    // Without it a name typed without ".wav" would be refused as a wrong kind of file.
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    dialog.selectFile(QStringLiteral("My Sound.wav"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_model->exportWav(dialog.selectedFiles().first());
}

void ClipStudioView::exportPackFolder()
{
    const QString parent = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Choose a folder for your new sound pack. Existing packs are never replaced."));
    if (!parent.isEmpty())
        m_model->exportPack(parent);
}
