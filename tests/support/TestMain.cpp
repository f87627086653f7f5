#include <gtest/gtest.h>

#include <juce_events/juce_events.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Every test process gets a fresh, empty home folder, so presets and settings never touch
// the machine's own folders and no test sees another's files.
int main (int argc, char** argv)
{
    std::string home = (std::filesystem::temp_directory_path() / "rirorezo3-home-XXXXXX").string();
    if (mkdtemp (home.data()) != nullptr)
        setenv ("HOME", home.c_str(), 1);

#if RIROREZO3_DISPLAY_TESTS
    // Only a process that counts as a standalone application gets JUCE's X error handlers;
    // without them the first harmless X error ends the process.
    juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase* { return nullptr; };
#endif

    testing::InitGoogleTest (&argc, argv);
    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        result = RUN_ALL_TESTS();
    }

    std::error_code ignored;
    std::filesystem::remove_all (home, ignored);
    return result;
}
