#include "Views/SettingsViewState.h"

SettingsViewState::SettingsViewState(SettingsPage initialPage, QObject *parent)
    : QObject(parent)
    , m_page(initialPage)
{
}

void SettingsViewState::setPage(SettingsPage page)
{
    if (page == m_page)
        return;
    m_page = page;
    emit pageChanged(page);
}

void SettingsViewState::setClipStudioPresented(bool presented)
{
    if (presented == m_clipStudioPresented)
        return;
    m_clipStudioPresented = presented;
    emit clipStudioPresentedChanged(presented);
}
