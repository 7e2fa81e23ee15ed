#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The data the game carries inside its executable, found by type ("X",
// "BITMAP", "ICON") and name. Names compare without regard to case, so the
// models' "flag01" finds the bitmap FLAG01.
class ResourceTable {
public:
    struct Entry {
        std::string type;
        std::string name;
        std::span<const unsigned char> data;
    };

    void Add(std::string type, std::string name, std::span<const unsigned char> data);
    // The data, or an empty span when there is no such resource.
    std::span<const unsigned char> Find(std::string_view type, std::string_view name) const;
    const std::vector<Entry>& Entries() const { return entries; }

    // Everything built into this executable.
    static const ResourceTable& Embedded();

private:
    std::vector<Entry> entries;
};

// Filled by the build from the files it embeds.
void RegisterEmbeddedResources(ResourceTable& table);
