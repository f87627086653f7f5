#pragma once

#include <juce_core/juce_core.h>

#include <limits>
#include <vector>

// How the folder menus and the next/previous steps see a preset folder, in one place so that
// they agree on which files there are and in which order.

// The folder's entries that match the wildcard (files or folders, as JUCE's iterator flags say),
// in menu order: ascending full path ignoring case, then by case, so that the order is the same
// whatever order the file system returns them in.
std::vector<juce::File> listInMenuOrder (const juce::File& folder, const juce::String& wildcard, int whatToLookFor);

// The folder's identity whatever links lead to it; empty when it cannot be resolved.
juce::String resolvedFolder (const juce::File& folder);

// The files with the extension in the folder and its sub-folders, counted up to enough. Each
// folder counted is added to walkedFolders, and one found there already (reached again through
// a link) is not counted again, so link loops end.
int countMatchingFiles (const juce::File& folder, const juce::String& extension, juce::StringArray& walkedFolders,
                        int enough = std::numeric_limits<int>::max());
