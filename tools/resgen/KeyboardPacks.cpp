#include "KeyboardPacks.h"

#include "PackWriter.h"
#include "Synth.h"

#include <QDir>

using namespace Synth;

namespace {

// How one switch sounds: the keycap landing on plate and case, an optional click mechanism
// sounding just before, and an optional spring ringing after.
struct SwitchCharacter {
    const char *id;
    const char *name;
    const char *switchType;
    const char *description;
    double bodyHz, bodyDecay, bodyLevel;
    double capHz, capDecay, capLevel;
    double impactHz, impactQ, impactDecay, impactLevel;
    double attack;
    double clickLevel, clickHz, clickLead;
    double springLevel, springHz, springDecay;
    double releaseLevel, releasePitch, releaseClick;
    double brightness; // of the mouse clicks that go with the pack
};

const SwitchCharacter characters[] = {
    {"recorded-cherry", "Classic Tactile", "Tactile", "A balanced, familiar tactile clack.",
     420, 0.022, 0.9, 1650, 0.009, 0.7, 2600, 0.9, 0.004, 0.9, 0.00015,
     0, 0, 0, 0, 0, 0, 0.55, 1.12, 0, 1.0},
    {"cream-thock", "Cream Thock", "Linear", "A deep, creamy thock from a heavy board.",
     240, 0.040, 1.2, 880, 0.016, 0.6, 1300, 0.7, 0.005, 0.6, 0.0003,
     0, 0, 0, 0, 0, 0, 0.45, 1.10, 0, 0.8},
    {"blue-clicky", "Blue Clicky", "Clicky", "A crisp, bright click on every press.",
     520, 0.016, 0.7, 2100, 0.007, 0.6, 3200, 1.0, 0.003, 0.8, 0.0001,
     1.3, 5200, 0.007, 0, 0, 0, 0.6, 1.15, 0.7, 1.2},
    {"topre-silent", "Silent Dome", "Electro-capacitive", "The muted, rounded thud of a silenced rubber dome.",
     330, 0.020, 1.0, 760, 0.011, 0.5, 700, 0.6, 0.006, 0.5, 0.0009,
     0, 0, 0, 0, 0, 0, 0.35, 1.05, 0, 0.7},
    {"buckling-spring", "Buckling Spring", "Buckling spring", "A loud, springy clack with a metallic ring.",
     360, 0.030, 1.0, 1500, 0.010, 0.6, 2800, 0.8, 0.004, 0.8, 0.0001,
     1.4, 4100, 0.005, 0.22, 2250, 0.07, 0.6, 1.08, 0.5, 1.1},
};

// How a key's size and stabilisers change its sound.
struct KeyShape {
    KeyGroup group;
    int variants;
    double pitch, decay, peak, rattle;
};

const KeyShape keyShapes[] = {
    {KeyGroup::regular, 6, 1.00, 1.00, 0.55, 0.00},  {KeyGroup::space, 4, 0.72, 1.50, 0.70, 0.60},
    {KeyGroup::enter, 4, 0.85, 1.30, 0.65, 0.35},    {KeyGroup::delete_, 4, 0.90, 1.20, 0.60, 0.20},
    {KeyGroup::modifier, 4, 0.93, 1.10, 0.55, 0.15}, {KeyGroup::tabCaps, 4, 0.88, 1.20, 0.58, 0.30},
    {KeyGroup::arrows, 4, 1.08, 0.90, 0.50, 0.00},   {KeyGroup::escape, 4, 1.04, 1.00, 0.55, 0.00},
    {KeyGroup::function, 4, 1.12, 0.85, 0.45, 0.00},
};

std::vector<float> keySound(const SwitchCharacter &c, const KeyShape &shape, KeyPhase phase, Random &random)
{
    const bool press = phase == KeyPhase::down;
    const double pitch = shape.pitch * (press ? 1.0 : c.releasePitch) * random.jitter(0.04);
    const double decay = shape.decay * (press ? 1.0 : 0.7) * random.jitter(0.1);
    const double level = press ? 1.0 : 0.55;
    const double attack = c.attack * random.jitter(0.2);
    Buffer out = silence(0.25 + 0.15 * shape.decay);

    const double clickLevel = press ? c.clickLevel : c.releaseClick;
    double landing = 0;
    if (clickLevel > 0) {
        addNoiseBurst(out, 0, clickLevel * random.jitter(0.1), 0.0012, 0.00008,
                      Biquad::bandPass(c.clickHz * random.jitter(0.05), 1.5), random);
        addMode(out, 0, c.clickHz * 0.8 * random.jitter(0.05), clickLevel * 0.4, 0.003, 0.00008);
        // On the way down the click leads the landing; on the way up the leaf and the top-out coincide.
        landing = (press ? c.clickLead : 0.0015) * random.jitter(0.2);
    }
    addMode(out, landing, c.bodyHz * pitch, c.bodyLevel * level * random.jitter(0.1), c.bodyDecay * decay, attack);
    addMode(out, landing, c.bodyHz * pitch * 2.31, c.bodyLevel * level * 0.35, c.bodyDecay * decay * 0.5, attack,
            random.between(0, 6.28));
    addMode(out, landing, c.capHz * pitch * random.jitter(0.03), c.capLevel * random.jitter(0.15),
            c.capDecay * decay, attack);
    addMode(out, landing, c.capHz * pitch * 1.63, c.capLevel * 0.5, c.capDecay * decay * 0.7, attack,
            random.between(0, 6.28));
    addNoiseBurst(out, landing, c.impactLevel * (press ? 1.0 : 0.6) * random.jitter(0.15), c.impactDecay * decay,
                  attack, Biquad::bandPass(c.impactHz * pitch, c.impactQ), random);
    if (c.springLevel > 0) {
        const double spring = c.springLevel * (press ? 1.0 : 0.7) * random.jitter(0.2);
        const double springHz = c.springHz * random.jitter(0.03);
        addMode(out, landing, springHz, spring, c.springDecay, 0.0002);
        addMode(out, landing, springHz * 1.47, spring * 0.6, c.springDecay * 0.8, 0.0002);
        addMode(out, landing, springHz * 2.21, spring * 0.35, c.springDecay * 0.6, 0.0002);
    }
    if (press && shape.rattle > 0) {
        // A stabiliser wire settling a few milliseconds after the key lands.
        const double rattleAt = landing + random.between(0.006, 0.012);
        addNoiseBurst(out, rattleAt, shape.rattle * c.impactLevel * 0.8, 0.004, 0.0002,
                      Biquad::bandPass(1800 * random.jitter(0.1), 1.2), random);
        addMode(out, rattleAt, c.capHz * 1.3 * random.jitter(0.05), shape.rattle * c.capLevel * 0.4, 0.008, 0.0002);
    }
    return finish(std::move(out), shape.peak * (press ? 1.0 : c.releaseLevel) * random.jitter(0.08));
}

// A mouse button's micro-switch in a plastic shell.
std::vector<float> clickSound(const SwitchCharacter &c, KeyGroup button, KeyPhase phase, Random &random)
{
    const bool press = phase == KeyPhase::down;
    const double buttonPitch = button == KeyGroup::mouseLeft ? 1.0 : button == KeyGroup::mouseRight ? 1.08 : 0.9;
    const double pitch = c.brightness * buttonPitch * (press ? 1.0 : 1.1) * random.jitter(0.04);
    const double level = press ? 1.0 : 0.7;
    Buffer out = silence(0.08);
    addNoiseBurst(out, 0, level * random.jitter(0.1), 0.0009, 0.00006, Biquad::bandPass(4500 * pitch, 2.0), random);
    addMode(out, 0, 3100 * pitch, 0.5 * level, 0.004, 0.00006);
    addMode(out, 0, 1400 * pitch * random.jitter(0.03), 0.35 * level, 0.008, 0.0001, random.between(0, 6.28));
    addMode(out, 0, 600 * pitch, 0.2 * level, 0.010, 0.0002);
    const double peak = (press ? 0.5 : 0.35) * (button == KeyGroup::mouseOther ? 0.85 : 1.0);
    return finish(std::move(out), peak * random.jitter(0.06), 0.003);
}

bool writePack(const QString &folder, const SwitchCharacter &c)
{
    SoundPackManifest manifest;
    manifest.id = QString::fromUtf8(c.id);
    manifest.name = QString::fromUtf8(c.name);
    manifest.author = QStringLiteral("Plinkly");
    manifest.switchType = QString::fromUtf8(c.switchType);
    manifest.version = QStringLiteral("1.0");
    manifest.license = QStringLiteral("CC0-1.0");
    manifest.kind = SoundPackManifest::PackKind::keyboard;
    manifest.metadata = std::map<QString, QString>{{QStringLiteral("description"), QString::fromUtf8(c.description)},
                                                   {QStringLiteral("formatVersion"), QStringLiteral("1")}};
    PackWriter pack(QDir(folder).filePath(manifest.id), manifest);
    for (KeyPhase phase : allCases<KeyPhase>()) {
        for (const KeyShape &shape : keyShapes) {
            for (int variant = 0; variant < shape.variants; ++variant) {
                Random random(seedFor(QStringLiteral("%1/%2/%3/%4").arg(manifest.id, rawValue(shape.group),
                                                                         rawValue(phase)).arg(variant)));
                pack.add(shape.group, phase, keySound(c, shape, phase, random));
            }
        }
        for (KeyGroup button : {KeyGroup::mouseLeft, KeyGroup::mouseRight, KeyGroup::mouseOther}) {
            for (int variant = 0; variant < 3; ++variant) {
                Random random(seedFor(QStringLiteral("%1/%2/%3/%4").arg(manifest.id, rawValue(button),
                                                                         rawValue(phase)).arg(variant)));
                pack.add(button, phase, clickSound(c, button, phase, random));
            }
        }
    }
    return pack.finish();
}

}

bool KeyboardPacks::generate(const QString &folder)
{
    bool ok = true;
    for (const SwitchCharacter &character : characters)
        ok = writePack(folder, character) && ok;
    return ok;
}
