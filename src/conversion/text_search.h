#pragma once

#include <QStringView>

#include <string_view>

// Searches for the hot loops over a log's lines. Qt 6.4 sends even a one-character
// search through its general substring search, which costs more than the conversion.
namespace TextSearch
{

inline std::u16string_view view(QStringView text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())};
}

// Position of c at or after from, or -1.
inline qsizetype indexOf(QStringView text, char16_t c, qsizetype from = 0)
{
    const std::size_t found = view(text).find(c, std::size_t(from));
    return found == std::u16string_view::npos ? -1 : qsizetype(found);
}

inline bool contains(QStringView text, std::u16string_view word)
{
    return view(text).find(word) != std::u16string_view::npos;
}

} // namespace TextSearch
