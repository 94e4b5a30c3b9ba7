#include "Views/StudioSheetBody.h"

#include "Views/AppModel.h"
#include "Views/Studio/ClipStudioView.h"

QWidget *makeStudioSheetBody(AppModel &app)
{
    SoundController &sound = app.sound();
    return new ClipStudioView(&sound.packs(), sound.makeStudioPreviewPlayer(), &app.shell());
}
