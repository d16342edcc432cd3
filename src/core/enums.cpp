#include "core/enums.h"

namespace zarno {

namespace detail {

std::string_view identifierAt(std::string_view joined, std::size_t i)
{
    std::size_t start = 0;
    for (std::size_t k = 0; k < i; ++k) {
        start = joined.find(',', start);
        if (start == std::string_view::npos)
            return {};
        ++start;
    }
    std::size_t end = joined.find(',', start);
    std::string_view id
        = joined.substr(start, end == std::string_view::npos ? joined.npos : end - start);
    while (!id.empty() && (id.front() == ' ' || id.front() == '\n' || id.front() == '\t'))
        id.remove_prefix(1);
    while (!id.empty() && (id.back() == ' ' || id.back() == '\n' || id.back() == '\t'))
        id.remove_suffix(1);
    return id;
}

} // namespace detail

QString TConverter::shapetypeString(TShapetype t)
{
    return TEnumConverter<TShapetype>::name(t).mid(6); // drop "SHAPE_"
}

} // namespace zarno
