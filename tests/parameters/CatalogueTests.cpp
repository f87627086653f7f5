#include "engine/PluginProcessor.h"

#include <gtest/gtest.h>

TEST (ParameterCatalogue, ProcessorListsNinetyParameters)
{
    Rirorezo3AudioProcessor processor;
    EXPECT_EQ (processor.getParameters().size(), 90);
}
