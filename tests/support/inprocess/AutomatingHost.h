#pragma once

#include "ProcessorHarness.h"

#include <atomic>
#include <thread>
#include <vector>

namespace testsupport
{
// A host's audio thread for as long as this lives: before every block of silence it automates
// each given parameter, stepping through `steps` evenly spaced normalised values (2 toggles a
// switch), as a host applies automation on its audio thread.
class AutomatingHost
{
public:
    AutomatingHost (ProcessorHarness& harness, std::vector<const char*> identifiers, int steps)
        : audio (
              [this, &harness, identifiers, steps]
              {
                  auto block = harness.silence (harness.blockSize);
                  for (int step = 0; playing; ++step)
                  {
                      for (const auto* identifier : identifiers)
                          harness.setNormalised (identifier,
                                                 static_cast<float> (step % steps) / static_cast<float> (steps - 1));
                      harness.processBlock (block);
                  }
              })
    {
    }

    ~AutomatingHost() { stop(); }

    void stop()
    {
        playing = false;
        if (audio.joinable())
            audio.join();
    }

private:
    std::atomic<bool> playing{true};
    std::thread audio;
};
} // namespace testsupport
