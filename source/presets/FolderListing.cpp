#include "presets/FolderListing.h"

#include <algorithm>
#include <filesystem>

std::vector<juce::File> listInMenuOrder (const juce::File& folder, const juce::String& wildcard, int whatToLookFor)
{
    std::vector<juce::File> entries;
    for (const auto& entry : juce::RangedDirectoryIterator (folder, false, wildcard, whatToLookFor))
        entries.push_back (entry.getFile());
    std::sort (entries.begin(), entries.end(),
               [] (const juce::File& a, const juce::File& b)
               {
                   const auto ignoringCase = a.getFullPathName().compareIgnoreCase (b.getFullPathName());
                   return ignoringCase != 0 ? ignoringCase < 0 : a.getFullPathName() < b.getFullPathName();
               });
    return entries;
}

juce::String resolvedFolder (const juce::File& folder)
{
    std::error_code error;
    const auto resolved = std::filesystem::canonical (folder.getFullPathName().toStdString(), error);
    return error ? juce::String() : juce::String (resolved.string());
}

int countMatchingFiles (const juce::File& folder, const juce::String& extension, juce::StringArray& walkedFolders,
                        int enough)
{
    walkedFolders.addIfNotAlreadyThere (resolvedFolder (folder));
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         juce::RangedDirectoryIterator (folder, false, "*" + extension, juce::File::findFiles))
        if (++count >= enough)
            return count;

    for (const auto& entry : juce::RangedDirectoryIterator (folder, false, "*", juce::File::findDirectories))
    {
        if (walkedFolders.contains (resolvedFolder (entry.getFile())))
            continue;
        count += countMatchingFiles (entry.getFile(), extension, walkedFolders, enough - count);
        if (count >= enough)
            return count;
    }
    return count;
}
