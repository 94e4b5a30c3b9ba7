#pragma once

class AppController;
class QWidget;

// The content of the studio dialog, made anew for each opening.
QWidget *makeStudioSheetBody(AppController &app);
