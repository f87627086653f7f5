// Times the patch bar's next and previous steps in a generated library of 10,000 presets in 100
// folders (in a temporary folder, removed afterwards), and for comparison the build of a load menu
// over the same library. Not a test: the figures depend on the machine and its file system.
#include "PresetLibrary.h"

#include "engine/PluginProcessor.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{
constexpr int folders = 100;
constexpr int presetsPerFolder = 100;
constexpr int stepsEachWay = 1000;
constexpr int menuBuilds = 20;

struct Timing
{
    double median, slowest;
};

// The action's times in microseconds over the runs.
template <typename Action> Timing timeRuns (int runs, Action action)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run)
    {
        const auto start = std::chrono::steady_clock::now();
        action();
        const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
        times.push_back (elapsed.count());
    }
    std::sort (times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}
} // namespace

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;
    const auto scratch = juce::File::getSpecialLocation (juce::File::tempDirectory)
                             .getNonexistentChildFile ("rirorezo3-preset-bench", "", false);
    const auto tree = scratch.getChildFile ("Presets");
    presetlibrary::write (tree, folders, presetsPerFolder, ".dod");

    Rirorezo3AudioProcessor processor;
    auto& presets = *processor.presetManager;
    presets.rootPath = scratch.getFullPathName();

    // The last folder in the menu's order: the one a limited walk would reach last.
    auto path = tree.getChildFile (presetlibrary::folderName (folders - 1))
                    .getChildFile (presetlibrary::presetName (0) + ".dod")
                    .getFullPathName();
    const auto step = [&presets, &path] (int direction)
    {
        if (presets.getNextPrevFile (direction, &path, "Load Preset", ".dod", "Presets", "Preset") == 0)
            std::printf ("a step found no preset\n");
    };
    const auto next = timeRuns (stepsEachWay, [&step] { step (1); });
    const auto previous = timeRuns (stepsEachWay, [&step] { step (-1); });

    int listed = 0;
    const auto menu = timeRuns (
        menuBuilds, [&] { listed = presetlibrary::buildMenu (presets, tree.getFullPathName(), ".dod", false); });

    std::printf ("preset library: %d presets in %d folders\n", folders * presetsPerFolder, folders);
    std::printf ("next step:     median %8.1f us, slowest %8.1f us (%d steps)\n", next.median, next.slowest,
                 stepsEachWay);
    std::printf ("previous step: median %8.1f us, slowest %8.1f us (%d steps)\n", previous.median, previous.slowest,
                 stepsEachWay);
    std::printf ("load menu build: median %.1f ms, slowest %.1f ms (%d builds; %d presets listed, %d not listed)\n",
                 menu.median / 1000.0, menu.slowest / 1000.0, menuBuilds, listed, presets.unlistedFileCount);

    scratch.deleteRecursively();
    return 0;
}
