#include "GeneratorRestart.h"

#include "engine/AdditiveFeedbackRandom.h"
#include "engine/PluginProcessor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace
{
using testsupport::generatorInitialSum;
using testsupport::generatorInitialXor;
using testsupport::restartGenerator;
} // namespace

TEST (RandomGenerator, FirstDrawsFromTheInitialStateFollowTheAddXorRule)
{
    struct Draw
    {
        std::uint32_t sum, xorWord;
        double value;
    };
    const Draw expected[] = {
        {0x28AA36A8u, 0x3EF215D9u, 0.158847251906991},
        {0x3F025A19u, 0x16582371u, 0.24612963781692088},
        {0x685CD381u, 0x295A7968u, 0.40766641520895064},
        {0xA9637E6Au, 0x4106AAE9u, 0.6616744049824774},
    };

    restartGenerator (JSeedX, JXorU);
    for (const auto& draw : expected)
    {
        EXPECT_NEAR (drawRandom (JSeedX, JXorU), draw.value, 1e-15);
        EXPECT_EQ (JSeedX.load(), draw.sum);
        EXPECT_EQ (JXorU.load(), draw.xorWord);
    }
}

TEST (RandomGenerator, AZeroWordIsReplacedByItsStartingValue)
{
    struct Case
    {
        std::uint32_t sum, xorWord, expectedSum, expectedXor;
    };
    constexpr std::uint32_t s = 0x12345678u;
    const Case cases[] = {
        // The xor step gives 0 and continues with the starting xor word.
        {s, s, generatorInitialXor + s, generatorInitialXor},
        // The sum step gives 0: x = -s, so x + s wraps to 0.
        {s, (0u - s) ^ s, generatorInitialSum, 0u - s},
    };

    for (const auto& c : cases)
    {
        SeedX = c.sum;
        XorU = c.xorWord;
        const auto value = drawRandom (SeedX, XorU);
        EXPECT_EQ (SeedX.load(), c.expectedSum);
        EXPECT_EQ (XorU.load(), c.expectedXor);
        EXPECT_GT (value, 0.0);
        EXPECT_LT (value, 1.0);
    }
}

TEST (RandomGenerator, EngineAndEditorPairsRunIndependentSequences)
{
    restartGenerator (JSeedX, JXorU);
    restartGenerator (SeedX, XorU);

    EXPECT_EQ (drawRandom (SeedX, XorU), drawRandom (JSeedX, JXorU));
    for (int i = 0; i < 10; ++i)
        drawRandom (SeedX, XorU);

    EXPECT_NEAR (drawRandom (JSeedX, JXorU), 0.24612963781692088, 1e-16);
}

// The drift and noise generator keeps the C library's sequence for each seed; the library is
// called here only to compare.
TEST (AdditiveFeedbackRandom, GivesWhatTheLibrarysRandGivesAfterTheSameSeed)
{
    for (const std::uint32_t seed : {1u, 2u, 8u, 12345u, 0x80000001u, 0xFFFFFFFFu})
    {
        AdditiveFeedbackRandom generator (seed);
        std::srand (seed);
        int mismatches = 0;
        for (int i = 0; i < 1000000; ++i)
            mismatches += generator.next() != std::rand() ? 1 : 0;
        EXPECT_EQ (mismatches, 0) << "seed " << seed;
    }

    // The seed 0 counts as 1, in both.
    AdditiveFeedbackRandom zero (0), one (1);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ (zero.next(), one.next());
}

// Each new instance takes the next seed: the first draws what a never-seeded rand() draws, and
// two side by side never draw the same noise.
TEST (AdditiveFeedbackRandom, EachNewInstanceDrawsTheSequenceOfTheNextSeed)
{
    const auto first = AdditiveFeedbackRandom::seedForNewInstance();
    EXPECT_EQ (AdditiveFeedbackRandom::seedForNewInstance(), first + 1);

    Rirorezo3AudioProcessor a, b;
    AdditiveFeedbackRandom expectedA (first + 2), expectedB (first + 3);
    for (int i = 0; i < 100; ++i)
    {
        ASSERT_EQ (a.instanceRandom.next(), expectedA.next());
        ASSERT_EQ (b.instanceRandom.next(), expectedB.next());
    }
}
