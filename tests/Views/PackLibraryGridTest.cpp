#include "Views/Kit/ElidedLabel.h"
#include "Views/Packs/PackCard.h"
#include "Views/Packs/PackLibraryGrid.h"
#include "Views/Packs/PackSelection.h"

#include <QCoreApplication>
#include <QLayout>
#include <QPromise>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>

namespace {

// A selection whose loads the test finishes by hand; like the application it marks the
// channel's pack as pending until the load ends.
class FakePackSelection final : public PackSelection {
public:
    QString selectedPack(SoundChannel channel) const override { return selected.value(channel); }
    std::optional<QString> pendingPack(SoundChannel channel) const override
    {
        if (pending.contains(channel))
            return pending.value(channel);
        return std::nullopt;
    }
    QFuture<bool> selectSoundPack(const QString &id, SoundChannel channel) override
    {
        pending.insert(channel, id);
        Load &load = loads.emplace_back();
        load.id = id;
        load.channel = channel;
        load.promise.start();
        return load.promise.future();
    }
    void preview(SoundChannel channel) override { previews.append({channel, selected.value(channel)}); }

    // Ends load `index`; a success commits the selection as the application does.
    void finish(std::size_t index, bool loaded)
    {
        Load &load = loads.at(index);
        if (pending.value(load.channel) == load.id)
            pending.remove(load.channel);
        if (loaded)
            selected.insert(load.channel, load.id);
        load.promise.addResult(loaded);
        load.promise.finish();
        QCoreApplication::processEvents();
    }

    struct Load {
        QString id;
        SoundChannel channel = SoundChannel::keyboard;
        QPromise<bool> promise;
    };
    QHash<SoundChannel, QString> selected;
    QHash<SoundChannel, QString> pending;
    std::deque<Load> loads;
    QList<std::pair<SoundChannel, QString>> previews;
};

LoadedSoundPack pack(const QString &id, std::optional<std::map<QString, QString>> metadata = std::nullopt)
{
    LoadedSoundPack loaded;
    loaded.manifest.id = id;
    loaded.manifest.name = id.toUpper();
    loaded.manifest.switchType = QStringLiteral("Linear");
    loaded.manifest.license = QStringLiteral("CC0");
    loaded.manifest.metadata = std::move(metadata);
    return loaded;
}

struct GridRig {
    FakePackSelection selection;
    QList<LoadedSoundPack> packs{pack("a"), pack("b"), pack("c")};
    std::unique_ptr<PackLibraryGrid> grid;

    explicit GridRig(SoundChannel channel = SoundChannel::keyboard)
        : grid(std::make_unique<PackLibraryGrid>(selection, channel))
    {
        selection.selected.insert(channel, QStringLiteral("a"));
        sync();
    }
    void sync() { grid->sync(packs, Qt::magenta); }
    void click(const QString &id)
    {
        grid->card(id)->click();
        sync();
    }
    QStringList marked(bool (PackCard::*flag)() const) const
    {
        QStringList ids;
        for (const LoadedSoundPack &p : packs) {
            if ((grid->card(p.id())->*flag)())
                ids.append(p.id());
        }
        return ids;
    }
};

using Preview = std::pair<SoundChannel, QString>;

}

TEST(PackLibraryGrid, ALoadShowsOneSpinnerKeepsTheOldCheckAndPreviewsOnceOnSuccess)
{
    GridRig rig(SoundChannel::mouse);
    rig.click(QStringLiteral("b"));
    EXPECT_EQ(rig.marked(&PackCard::isPending), QStringList{"b"});
    EXPECT_EQ(rig.marked(&PackCard::isSelected), QStringList{"a"});
    EXPECT_TRUE(rig.selection.previews.isEmpty());

    rig.selection.finish(0, true);
    rig.sync();
    EXPECT_TRUE(rig.marked(&PackCard::isPending).isEmpty());
    EXPECT_EQ(rig.marked(&PackCard::isSelected), QStringList{"b"});
    EXPECT_EQ(rig.selection.previews, (QList<Preview>{{SoundChannel::mouse, "b"}}));
}

TEST(PackLibraryGrid, OnlyTheLastOfQuickClicksIsPreviewed)
{
    GridRig rig;
    rig.click(QStringLiteral("b"));
    rig.click(QStringLiteral("c"));
    EXPECT_EQ(rig.marked(&PackCard::isPending), QStringList{"c"});
    rig.selection.finish(1, true);
    // The earlier load reports success late, but "c" is the selection by then.
    rig.selection.loads[0].promise.addResult(true);
    rig.selection.loads[0].promise.finish();
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.selection.previews, (QList<Preview>{{SoundChannel::keyboard, "c"}}));
}

TEST(PackLibraryGrid, ReclickingTheSelectionReloadsAndPreviewsIt_AFailureDoesNot)
{
    GridRig rig(SoundChannel::reaction);
    rig.click(QStringLiteral("a"));
    EXPECT_EQ(rig.marked(&PackCard::isPending), QStringList{"a"});
    rig.selection.finish(0, true);
    EXPECT_EQ(rig.selection.previews, (QList<Preview>{{SoundChannel::reaction, "a"}}));

    rig.click(QStringLiteral("b"));
    rig.selection.finish(1, false);
    rig.sync();
    EXPECT_EQ(rig.selection.previews.size(), 1);
    EXPECT_EQ(rig.marked(&PackCard::isSelected), QStringList{"a"});
    EXPECT_TRUE(rig.marked(&PackCard::isPending).isEmpty());
}

TEST(PackLibraryGrid, APreviewStillPlaysWhenTheCardsWereRebuiltOrTheGridIsGone)
{
    GridRig rig;
    rig.click(QStringLiteral("b"));
    rig.packs.prepend(pack("new"));
    rig.sync();
    rig.grid.reset();
    rig.selection.finish(0, true);
    EXPECT_EQ(rig.selection.previews, (QList<Preview>{{SoundChannel::keyboard, "b"}}));
}

TEST(PackLibraryGrid, CardsFollowTheListAndShowTheDescriptionOrTheSwitchType)
{
    GridRig rig;
    rig.packs = {pack("z", std::map<QString, QString>{{"description", "Deep and soft"}}),
                 pack("y", std::map<QString, QString>{{"author-site", "x"}}), pack("x", std::map<QString, QString>{})};
    rig.sync();
    QStringList order;
    for (PackCard *card : rig.grid->cards())
        order.append(card->accessibleName());
    EXPECT_EQ(order, (QStringList{"Z", "Y", "X"}));
    EXPECT_EQ(rig.grid->card("z")->detailText(), "Deep and soft");
    EXPECT_EQ(rig.grid->card("y")->detailText(), "Linear");
    EXPECT_EQ(rig.grid->card("x")->detailText(), "Linear");
    EXPECT_EQ(rig.grid->card("x")->toolTip(), "Linear \u00B7 CC0");

    rig.packs.clear();
    rig.sync();
    EXPECT_TRUE(rig.grid->cards().isEmpty());
}

// Fewer packs than columns share the row instead of cutting their texts beside empty columns;
// a full row keeps the columns the width holds. A cut name or description ends in an ellipsis
// and tells its whole text on hover, while a press on it still chooses the card.
TEST(PackLibraryGrid, FewCardsShareTheRowAndCutTextsTellTheirWholeText)
{
    const QString longText = QStringLiteral("A warm, round thock recorded on a lubed board with foam under the plate");
    GridRig rig;
    rig.packs = {pack("a", std::map<QString, QString>{{QStringLiteral("description"), longText}}), pack("b")};
    rig.packs[0].manifest.name = longText;
    rig.sync();
    rig.grid->resize(700, 300);
    rig.grid->show();
    QCoreApplication::processEvents();
    // 700 px hold four columns of 150 px; two cards take half the row each.
    for (const int count : {2, 3, 5}) {
        QList<LoadedSoundPack> packs = rig.packs.first(2);
        for (int index = 2; index < count; ++index)
            packs.append(pack(QStringLiteral("p%1").arg(index)));
        rig.packs = packs;
        rig.sync();
        rig.grid->layout()->activate();
        QCoreApplication::processEvents();
        const int columns = std::min(count, 4);
        EXPECT_EQ(rig.grid->card("b")->width(), (700 - (columns - 1) * 10) / columns) << count;
        EXPECT_EQ(rig.grid->card("b")->y(), 0) << count;
    }
    rig.grid->resize(320, 300);
    QCoreApplication::processEvents();

    PackCard *card = rig.grid->card("a");
    const QList<ElidedLabel *> texts = card->findChildren<ElidedLabel *>();
    ASSERT_EQ(texts.size(), 2);
    for (ElidedLabel *text : texts) {
        EXPECT_EQ(text->fullText(), longText);
        EXPECT_TRUE(text->text().endsWith(QChar(0x2026))) << text->text().toStdString();
        EXPECT_EQ(text->toolTip(), longText);
        EXPECT_LE(text->text().count(QLatin1Char('\n')) + 1, text == texts.last() ? 2 : 1);
    }
    EXPECT_EQ(card->toolTip(), "Linear \u00B7 CC0");
    QTest::mouseClick(texts.first(), Qt::LeftButton);
    EXPECT_EQ(rig.selection.loads.size(), 1u);
    EXPECT_EQ(rig.selection.loads.front().id, "a");
}
