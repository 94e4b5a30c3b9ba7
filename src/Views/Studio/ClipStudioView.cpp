#include "Views/Studio/ClipStudioView.h"

#include "Services/Packs/SoundPackManager.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/CardFrame.h"
#include "Views/Kit/KeyedRows.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/Spinner.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/SymbolView.h"
#include "Views/Kit/TextLabels.h"
#include "Views/Kit/WheelGuard.h"
#include "Views/Studio/StudioWaveformView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
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

QLabel *label(const QString &text, FontRole font, ColorRole color, std::optional<QFont::Weight> weight = std::nullopt)
{
    auto *result = new QLabel(text);
    result->setFont(KitStyle::font(font, weight));
    TextLabels::tint(result, color);
    return result;
}

QPushButton *button(const QString &text, const QString &help = {})
{
    QPushButton *result = TextLabels::borderedButton(QString(), text);
    result->setToolTip(help);
    return result;
}

QHBoxLayout *row(QWidget *parent = nullptr)
{
    auto *layout = new QHBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

void choose(QComboBox *box, int index)
{
    if (box->currentIndex() == index)
        return;
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(index);
}
}

ClipStudioView::ClipStudioView(SoundPackManager *packManager, std::unique_ptr<StudioPreviewPlayer> player,
                               AppShell *shell, const QString &startingAudioPath, QWidget *parent)
    : QWidget(parent)
    , m_packManager(packManager)
    , m_model(new ClipStudioModel(packManager, std::move(player), shell, this))
    , m_startingAudioPath(startingAudioPath)
{
    setAcceptDrops(true);
    setMaximumHeight(tallestPage);

    // The page is laid out at its ideal width where the sheet has room; a narrower sheet lays it
    // out narrower, down to what its rows need, and scrolls it sideways below that.
    auto *content = new QWidget;
    auto *page = new QVBoxLayout(content);
    page->setContentsMargins(24, 24, 24, 24);
    page->setSpacing(16);
    page->addWidget(buildHeader());

    m_busyRow = new QWidget;
    auto *busy = row(m_busyRow);
    busy->addWidget(new Spinner);
    busy->addWidget(label(QStringLiteral("Loading audio…"), FontRole::body, ColorRole::primary));
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
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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
    titles->addWidget(label(QStringLiteral("Sound Studio"), FontRole::largeTitle, ColorRole::primary, QFont::Bold));
    titles->addWidget(label(QStringLiteral("Shape a sound. Keep the original."), FontRole::body, ColorRole::secondary));
    layout->addLayout(titles);
    layout->addStretch();
    m_openButton = button(QStringLiteral("Open Audio…"));
    connect(m_openButton, &QPushButton::clicked, this, &ClipStudioView::openAudio);
    layout->addWidget(m_openButton, 0, Qt::AlignTop);
    return header;
}

QWidget *ClipStudioView::buildEmptyState()
{
    auto *panel = new CardFrame(12, CardFrame::Tone{ColorRole::controlBackground}, CardFrame::Tone{ColorRole::separator});
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(24, 32, 24, 32);
    layout->setSpacing(10);
    auto *icon = new SymbolView(40);
    icon->setIcon(SymbolIcon::icon(QStringLiteral("waveform"), ColorRole::secondary));
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    auto *title = label(QStringLiteral("Make it yours"), FontRole::title2, ColorRole::primary, QFont::Bold);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto *description = label(QStringLiteral("Drop an audio file here, or open a clip to crop, balance and soften "
                                             "its edges. Up to 30 seconds, mono or stereo."),
                              FontRole::body, ColorRole::secondary);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignCenter);
    layout->addWidget(description);
    return panel;
}

ClipStudioView::~ClipStudioView()
{
    // Tearing down the children can move a slider; this half-destroyed view must not hear it.
    for (const SliderRow &slider : m_sliders)
        slider.slider->disconnect(this);
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
    m_info = TextLabels::hint({});
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

    layout->addWidget(TextLabels::hint(QStringLiteral("Preview, export and Add to Pack use the controls shown. "
                                                      "Exports create new files; the original is never overwritten.")));

    layout->addLayout(buildAssignmentRow());
    return editor;
}

QHBoxLayout *ClipStudioView::buildAssignmentRow()
{
    auto *assignment = row();
    assignment->addWidget(new QLabel(QStringLiteral("Assignment")));
    m_group = TextLabels::picker();
    m_group->setAccessibleName(QStringLiteral("Assignment"));
    for (KeyGroup group : allCases<KeyGroup>())
        m_group->addItem(rawValue(group));
    connect(m_group, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model->setGroup(allCases<KeyGroup>()[std::size_t(index)]); });
    assignment->addWidget(m_group);
    assignment->addSpacing(12);
    assignment->addWidget(new QLabel(QStringLiteral("Event")));
    m_phase = TextLabels::picker();
    m_phase->setAccessibleName(QStringLiteral("Event"));
    m_phase->addItems({QStringLiteral("Press"), QStringLiteral("Release")});
    connect(m_phase, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model->setPhase(index == 0 ? KeyPhase::down : KeyPhase::up); });
    assignment->addWidget(m_phase);
    assignment->addStretch();
    m_addButton = button(QStringLiteral("Add to Pack"));
    connect(m_addButton, &QPushButton::clicked, this, [this] { m_model->addToPack(); });
    assignment->addWidget(m_addButton);
    return assignment;
}

QWidget *ClipStudioView::sliderRow(const QString &title, double maximum, double (ClipStudioModel::*read)() const,
                                   void (ClipStudioModel::*write)(double))
{
    auto *container = new QWidget;
    auto *layout = row(container);
    auto *name = new QLabel(title);
    name->setFixedWidth(150);
    layout->addWidget(name);
    auto *slider = WheelGuard::guard(new QSlider(Qt::Horizontal));
    slider->setRange(0, sliderSteps);
    slider->setAccessibleName(title);
    layout->addWidget(slider, 1);
    // A fixed frame keeps the row still while the digits change.
    auto *value = new QLabel;
    value->setFixedWidth(45);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(value);
    connect(slider, &QSlider::valueChanged, this, [model = m_model, write, maximum](int position) {
        (model->*write)(double(position) / sliderSteps * maximum);
    });
    m_sliders.push_back(SliderRow{slider, value, maximum, read});
    return container;
}

QWidget *ClipStudioView::buildPackSection()
{
    auto *section = new QWidget;
    auto *layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(label(QStringLiteral("Your sound pack"), FontRole::title2, ColorRole::primary, QFont::Bold));

    const auto field = [&](const QString &placeholder, void (ClipStudioModel::*write)(const QString &)) {
        auto *edit = TextLabels::textField();
        edit->setPlaceholderText(placeholder);
        edit->setAccessibleName(placeholder);
        connect(edit, &QLineEdit::textEdited, this,
                [model = m_model, write](const QString &text) { (model->*write)(text); });
        // The placeholder goes once the field is filled in; the label above it stays.
        QLabel *title = label(placeholder, FontRole::caption, ColorRole::secondary);
        title->setBuddy(edit);
        auto *labelled = new QVBoxLayout;
        labelled->setSpacing(4);
        labelled->addWidget(title);
        labelled->addWidget(edit);
        layout->addLayout(labelled);
        return edit;
    };
    m_packName = field(QStringLiteral("Pack name"), &ClipStudioModel::setPackName);
    m_creator = field(QStringLiteral("Creator name"), &ClipStudioModel::setCreator);
    m_rights = field(QStringLiteral("License / permission to share"), &ClipStudioModel::setRights);
    layout->addWidget(TextLabels::hint(QStringLiteral("Only share audio you have permission to distribute. Unknown "
                                                      "does not grant others redistribution rights.")));
    m_reactionPack = TextLabels::checkBox(QStringLiteral("Reaction pack (all assignments must be Reaction)"));
    connect(m_reactionPack, &QCheckBox::toggled, this, [this](bool on) { m_model->setReactionPack(on); });
    layout->addWidget(m_reactionPack);

    auto *rows = new QVBoxLayout;
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(4);
    m_assignmentRows = new KeyedRows(rows);
    layout->addWidget(m_assignmentRows);

    auto *packRow = row();
    m_exportPackButton = button(QStringLiteral("Export Pack Folder…"));
    connect(m_exportPackButton, &QPushButton::clicked, this, &ClipStudioView::exportPackFolder);
    packRow->addWidget(m_exportPackButton);
    m_installButton = button(QStringLiteral("Install Pack"));
    connect(m_installButton, &QPushButton::clicked, this, [this] { m_model->installPack(); });
    packRow->addWidget(m_installButton);
    packRow->addStretch();
    m_counter = TextLabels::hint({});
    m_counter->setWordWrap(false);
    packRow->addWidget(m_counter);
    layout->addLayout(packRow);

    m_notice = label({}, FontRole::callout, ColorRole::secondary);
    m_error = label({}, FontRole::callout, ColorRole::red);
    for (QLabel *line : {m_notice, m_error})
        line->setWordWrap(true);
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
    Bind::enabled(m_openButton, !model.busy());
    Bind::visible(m_busyRow, model.busy());
    Bind::visible(m_emptyState, !loaded);
    Bind::visible(m_editor, loaded);

    if (loaded) {
        m_waveform->setSelection(WaveformSelection{model.start(), model.end()});
        Bind::text(m_info, model.clipInfo());
    }
    for (const SliderRow &slider : m_sliders) {
        const double value = (model.*slider.read)();
        Bind::value(slider.slider, int(std::lround(std::clamp(value / slider.maximum, 0.0, 1.0) * sliderSteps)));
        Bind::text(slider.value, QString::asprintf("%.2f", value));
    }
    constexpr auto groups = allCases<KeyGroup>();
    choose(m_group, int(std::ranges::find(groups, model.group()) - groups.begin()));
    choose(m_phase, model.phase() == KeyPhase::down ? 0 : 1);
    Bind::enabled(m_addButton, model.canAddToPack());

    Bind::text(m_packName, model.packName());
    Bind::text(m_creator, model.creator());
    Bind::text(m_rights, model.rights());
    Bind::checked(m_reactionPack, model.reactionPack());
    syncAssignments();
    Bind::enabled(m_exportPackButton, model.canExportPack());
    Bind::enabled(m_installButton, model.canInstallPack());
    Bind::text(m_counter, model.counterText());
    Bind::text(m_notice, model.notice().value_or(QString()));
    Bind::visible(m_notice, model.notice().has_value());
    Bind::text(m_error, model.error().value_or(QString()));
    Bind::visible(m_error, model.error().has_value());
}

void ClipStudioView::syncAssignments()
{
    QStringList texts;
    for (qsizetype i = 0; i < qsizetype(m_model->assignments().size()); ++i)
        texts.append(m_model->assignmentText(i));
    Bind::visible(m_assignmentRows, !texts.isEmpty());
    // A row's text starts with its number, so the texts key the rows and any removal rebuilds them.
    m_assignmentRows->setIds(texts, [this, texts](const QString &text) {
        const qsizetype index = texts.indexOf(text);
        auto *line = new QWidget;
        auto *layout = row(line);
        layout->addWidget(new QLabel(text));
        layout->addStretch();
        auto *remove = button(QStringLiteral("Remove"));
        remove->setAccessibleName(QStringLiteral("Remove %1").arg(index + 1));
        connect(remove, &QPushButton::clicked, this, [this, index] { m_model->removeAssignment(index); });
        layout->addWidget(remove);
        return line;
    });
}

QSize ClipStudioView::sizeHint() const
{
    return {pageWidth, idealHeight};
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
    // Minimising hides the studio without closing it; only a real close ends the preview
    // and drops its folder.
    if (!event->spontaneous())
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

DialogFolders &ClipStudioView::dialogFolders()
{
    return m_packManager ? m_packManager->dialogFolders() : m_ownFolders;
}

void ClipStudioView::openAudio()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open Audio"), dialogFolders().start(DialogFolders::Kind::audio),
        QStringLiteral("Audio files (*.wav *.wave *.aif *.aiff *.flac *.ogg *.oga *.mp3)"));
    if (path.isEmpty())
        return;
    dialogFolders().remember(DialogFolders::Kind::audio, QFileInfo(path).absolutePath());
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
    dialog.setDirectory(dialogFolders().start(DialogFolders::Kind::audio));
    dialog.selectFile(QStringLiteral("My Sound.wav"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().first();
    dialogFolders().remember(DialogFolders::Kind::audio, QFileInfo(path).absolutePath());
    m_model->exportWav(path);
}

void ClipStudioView::exportPackFolder()
{
    const QString parent = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Choose a folder for your new sound pack. Existing packs are never replaced."),
        dialogFolders().start(DialogFolders::Kind::packFolder));
    if (parent.isEmpty())
        return;
    dialogFolders().remember(DialogFolders::Kind::packFolder, parent);
    m_model->exportPack(parent);
}
