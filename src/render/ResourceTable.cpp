#include "render/ResourceTable.h"

#include <algorithm>
#include <cctype>

namespace {
bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}
} // namespace

void ResourceTable::Add(std::string type, std::string name, std::span<const unsigned char> data) {
    entries.push_back({std::move(type), std::move(name), data});
}

std::span<const unsigned char> ResourceTable::Find(std::string_view type, std::string_view name) const {
    for (const Entry& entry : entries)
        if (SameName(entry.type, type) && SameName(entry.name, name)) return entry.data;
    return {};
}
