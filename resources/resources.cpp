#include "resources/resources.h"

#include <cstdint>

namespace brisma::resources {
namespace detail {
struct Entry
{
    const char* name;
    const std::uint8_t* data;
    std::size_t size;
};
extern const Entry entries[];
extern const std::size_t entryCount;
} // namespace detail

Bytes load(std::string_view fileName)
{
    for (std::size_t i = 0; i < detail::entryCount; ++i) {
        const detail::Entry& entry = detail::entries[i];
        if (fileName == entry.name) {
            return Bytes(entry.data, entry.data + entry.size);
        }
    }
    return {};
}

} // namespace brisma::resources
