#include "HostKit.h"

#include <gtest/gtest.h>

TEST (Bundle, LoadsWithNinetyOneParameters)
{
    juce::String error;
    auto plugin = hostkit::loadPlugin (hostkit::builtBundle(), 48000.0, 512, 2, error);
    ASSERT_NE (plugin, nullptr) << error;
    EXPECT_EQ (plugin->getParameters().size(), 91);
    EXPECT_NE (hostkit::findParameter (*plugin, "toneDrive"), nullptr);
}
