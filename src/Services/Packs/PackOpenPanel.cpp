#include "Services/Packs/PackOpenPanel.h"

#include <QFileInfo>

#include <algorithm>

PackOpenPanel::PackOpenPanel(SoundPackManifest::PackKind kind, QWidget *parent)
    : QFileDialog(parent, message)
{
    // The desktop's own dialogs choose either files or folders, never both.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptOpen);
    setLabelText(QFileDialog::Accept, tr("Open"));
    if (kind == SoundPackManifest::PackKind::keyboard) {
        setFileMode(QFileDialog::ExistingFile);
        setNameFilters({tr("Sound-pack folders and ZIP archives (*.zip)")});
    } else {
        setFileMode(QFileDialog::ExistingFiles);
        setNameFilters({tr("Sound-pack folders, ZIP archives and audio (*.zip *.wav *.aif *.aiff *.aifc *.flac "
                           "*.ogg *.oga *.mp3)")});
    }
    setWindowModality(Qt::ApplicationModal);
}

void PackOpenPanel::accept()
{
    const QStringList chosen = selectedFiles();
    const bool onlyTheCurrentFolder = chosen == QStringList{directory().absolutePath()};
    const bool allExist = std::ranges::all_of(chosen, [](const QString &path) { return QFileInfo::exists(path); });
    if (!chosen.isEmpty() && !onlyTheCurrentFolder && allExist) {
        QDialog::accept();
        return;
    }
    QFileDialog::accept();
}
