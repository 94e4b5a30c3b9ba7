#pragma once

#include "Models/SoundPackManifest.h"

#include <QFileDialog>

// The open panel of pack import. It lets the user choose folders as well as files, which a
// plain file dialog cannot: "Open" on a selected folder chooses it, a double click enters it.
class PackOpenPanel : public QFileDialog {
    Q_OBJECT

public:
    explicit PackOpenPanel(SoundPackManifest::PackKind kind, QWidget *parent = nullptr);

    static inline const QString message = QStringLiteral("Choose a sound-pack folder, ZIP, or audio files");

protected:
    void accept() override;
};
