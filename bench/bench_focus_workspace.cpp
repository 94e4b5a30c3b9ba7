#include "Platform/Linux/DesktopEntryIndex.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A desktop's worth of installed applications: 400 desktop files, each with a translated
// name list and an action group, as distributions ship them.
constexpr int applicationCount = 400;

void writeApplications(const QString &folder)
{
    QDir().mkpath(folder);
    for (int i = 0; i < applicationCount; ++i) {
        QFile file(QDir(folder).filePath(QStringLiteral("org.example.App%1.desktop").arg(i)));
        file.open(QIODevice::WriteOnly);
        QByteArray text = "[Desktop Entry]\nType=Application\nExec=app --new-window %U\nIcon=app\n";
        text += "Name=Application " + QByteArray::number(i) + "\n";
        for (const char *language : {"de", "fr", "es", "it", "ja", "pt_BR", "ru", "zh_CN"})
            text += QByteArray("Name[") + language + "]=App " + QByteArray::number(i) + "\n";
        text += "StartupWMClass=AppClass" + QByteArray::number(i) + "\n";
        text += "[Desktop Action new]\nName=New window\nExec=app --new\n";
        file.write(text);
    }
}

// What the first question after launch costs: every folder is read.
void indexInstalledApplications(benchmark::State &state)
{
    QTemporaryDir root;
    writeApplications(root.filePath("applications"));
    for (auto _ : state) {
        DesktopEntryIndex index({root.filePath("applications")});
        auto entry = index.entry(QStringLiteral("org.example.App7"));
        if (!entry) {
            state.SkipWithError("entry not found");
            break;
        }
        benchmark::DoNotOptimize(entry);
    }
    state.SetItemsProcessed(state.iterations() * applicationCount);
}

// What each application switch costs once the index is read: a WM_CLASS match.
void nameAnActivatedWindow(benchmark::State &state)
{
    QTemporaryDir root;
    writeApplications(root.filePath("applications"));
    DesktopEntryIndex index({root.filePath("applications")});
    const WindowIdentity window{{}, {}, QStringLiteral("app"), QStringLiteral("AppClass399")};
    for (auto _ : state) {
        WorkspaceApplication application = index.application(window);
        if (application.identifier != QStringLiteral("org.example.App399")) {
            state.SkipWithError("window not matched");
            break;
        }
        benchmark::DoNotOptimize(application);
    }
}

}

BENCHMARK(indexInstalledApplications)->Unit(benchmark::kMillisecond);
BENCHMARK(nameAnActivatedWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
