#include "App/PetCommands.h"

#include "App/AppController.h"
#include "Effects/Pet/PetDialogue.h"
#include "Effects/Pet/PetPresentation.h"

void PetCommands::perform(AppController &app, PetAction action)
{
    if (app.focusController().handlePetAction(action))
        return;
    SettingsStore &settings = app.settings();
    switch (action) {
    case PetAction::pepTalk: {
        DesktopPetController &pet = app.effectsController().pet();
        pet.update(PetMood::celebrating, PetDialogue::nextPepTalk(pet.presentation().message()));
        break;
    }
    case PetAction::configureFocus:
    case PetAction::openFocus:
        app.showControlPanel(SettingsPage::focus);
        break;
    case PetAction::openSounds:
        app.showControlPanel(SettingsPage::sounds);
        break;
    case PetAction::openReactions:
        app.showControlPanel(SettingsPage::reactions);
        break;
    case PetAction::openSettings:
        app.showControlPanel(SettingsPage::home);
        break;
    case PetAction::togglePause:
        settings.setEffectsPaused(!settings.effectsPaused());
        break;
    case PetAction::toggleTyping:
        settings.setTypingEnabled(!settings.typingEnabled());
        break;
    case PetAction::toggleTapSounds:
        settings.setMouseEnabled(!settings.mouseEnabled());
        break;
    case PetAction::previewKeyboard:
        app.sound().previewKeyboard();
        break;
    case PetAction::previewScreenshot:
        app.effectsController().previewScreenshotReaction();
        break;
    case PetAction::previewCharge:
        app.effectsController().previewChargerReaction();
        break;
    case PetAction::hide:
        settings.setPetEnabled(false);
        break;
    case PetAction::toggleStayPut:
        settings.setPetStayPut(!settings.petStayPut());
        break;
    case PetAction::chaos:
    case PetAction::desktopGravity:
        settings.setEffectsPaused(false);
        app.effectsController().chaosEffects().trigger(action == PetAction::chaos ? ChaosModes::random()
                                                                                   : ChaosMode::gravity);
        break;
    // Answered by focus sessions above.
    case PetAction::focus25:
    case PetAction::focus50:
    case PetAction::break5:
    case PetAction::stopFocus:
        break;
    }
}

QString PetCommands::chaosLine(ChaosMode mode)
{
    QString line;
    switch (mode) {
    case ChaosMode::gravity:
        line = QStringLiteral("Everything’s falling! I meant to do that.");
        break;
    case ChaosMode::zeroGravity:
        line = QStringLiteral("Wheee—gravity took the day off!");
        break;
    case ChaosMode::vortex:
        line = QStringLiteral("Tiny black hole. Totally under control.");
        break;
    case ChaosMode::earthquake:
        line = QStringLiteral("Hold onto your folders!");
        break;
    }
    return line;
}
