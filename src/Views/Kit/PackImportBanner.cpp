#include "Views/Kit/PackImportBanner.h"

#include "Services/Packs/ImportProgress.h"
#include "Services/Packs/SoundPackManager.h"
#include "Views/Kit/Bind.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/Spinner.h"
#include "Views/Kit/SymbolLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

PackImportBanner::PackImportBanner(SoundPackManager &manager, QWidget *parent)
    : QWidget(parent)
    , m_manager(manager)
{
    m_progress = new QWidget(this);
    m_progress->setAccessibleName(QStringLiteral("Sound pack import in progress"));
    auto *text = new QLabel(QStringLiteral("Checking and installing your sounds…"), m_progress);
    text->setFont(KitStyle::font(FontRole::callout));
    m_cancel = new QPushButton(QStringLiteral("Cancel"), m_progress);
    m_cancel->setAccessibleName(QStringLiteral("Cancel"));
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (const auto progress = m_manager.importProgress())
            progress->cancel();
    });
    auto *row = new QHBoxLayout(m_progress);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    row->addWidget(new Spinner(14, m_progress));
    row->addWidget(text);
    row->addStretch(1);
    row->addSpacing(8);
    row->addWidget(m_cancel);

    m_notice = new SymbolLabel(QStringLiteral("info.circle"), QString(), KitStyle::font(FontRole::callout),
                               ColorRole::secondary, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_progress);
    layout->addWidget(m_notice);
    sync();
}

void PackImportBanner::sync()
{
    const bool importing = m_manager.isImporting();
    const std::optional<QString> notice = importing ? std::nullopt : m_manager.importNotice();
    Bind::visible(m_progress, importing);
    m_notice->setText(notice.value_or(QString()));
    m_notice->setAccessibleName(notice.value_or(QString()));
    Bind::visible(m_notice, notice.has_value());
    Bind::visible(this, importing || notice.has_value());
}
