#pragma once

class AppModel;
class QWidget;

// The content of the studio dialog, made anew for each opening.
QWidget *makeStudioSheetBody(AppModel &app);
