#pragma once

#include "Services/DialogFolders.h"
#include "Views/Studio/ClipStudioModel.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class AppShell;
class KeyedRows;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class SoundPackManager;
class StudioPreviewPlayer;
class StudioWaveformView;

// The sound studio page: load one clip, crop it on its waveform, set gain and fades, preview
// and export it, and gather edited clips into a new pack. The control window shows it inside
// its studio dialog; it can also stand alone. Its state lives in a ClipStudioModel.
class ClipStudioView final : public QWidget {
    Q_OBJECT

public:
    // `startingAudioPath` is loaded the first time the page is shown, when no clip is loaded.
    ClipStudioView(SoundPackManager *packManager, std::unique_ptr<StudioPreviewPlayer> player, AppShell *shell,
                   const QString &startingAudioPath = {}, QWidget *parent = nullptr);
    ~ClipStudioView() override;

    ClipStudioModel &model() { return *m_model; }
    // The page's ideal size: its minimum width and 680 high.
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    struct SliderRow {
        QSlider *slider = nullptr;
        QLabel *value = nullptr;
        double maximum = 1;
        double (ClipStudioModel::*read)() const = nullptr;
    };

    QWidget *buildHeader();
    QWidget *buildEmptyState();
    QWidget *buildEditor();
    QHBoxLayout *buildAssignmentRow();
    QWidget *buildPackSection();
    QWidget *sliderRow(const QString &title, double maximum, double (ClipStudioModel::*read)() const,
                       void (ClipStudioModel::*write)(double));
    void scheduleSync();
    void sync();
    void syncAssignments();
    void openAudio();
    void exportWav();
    void exportPackFolder();
    // The pack library's folders when the studio has one, else its own.
    DialogFolders &dialogFolders();

    QPointer<SoundPackManager> m_packManager;
    DialogFolders m_ownFolders;
    ClipStudioModel *m_model = nullptr;
    QString m_startingAudioPath;
    bool m_shownOnce = false;
    bool m_syncPending = false;

    QPushButton *m_openButton = nullptr;
    QWidget *m_busyRow = nullptr;
    QWidget *m_emptyState = nullptr;
    QWidget *m_editor = nullptr;
    StudioWaveformView *m_waveform = nullptr;
    QLabel *m_info = nullptr;
    std::vector<SliderRow> m_sliders;
    QComboBox *m_group = nullptr;
    QComboBox *m_phase = nullptr;
    QPushButton *m_addButton = nullptr;
    QLineEdit *m_packName = nullptr;
    QLineEdit *m_creator = nullptr;
    QLineEdit *m_rights = nullptr;
    QCheckBox *m_reactionPack = nullptr;
    KeyedRows *m_assignmentRows = nullptr;
    QPushButton *m_exportPackButton = nullptr;
    QPushButton *m_installButton = nullptr;
    QLabel *m_counter = nullptr;
    QLabel *m_notice = nullptr;
    QLabel *m_error = nullptr;
};
