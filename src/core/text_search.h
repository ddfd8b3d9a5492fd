#pragma once

#include <QStringView>

#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Searches for the hot loops over a log's lines. Qt 6.4 sends even a one-character
// search through its general substring search, and the standard library's char16_t
// search goes one character at a time; these look at eight characters a step.
namespace TextSearch
{

// Position of c at or after from, or -1.
inline qsizetype indexOf(QStringView text, char16_t c, qsizetype from = 0)
{
    const char16_t *begin = reinterpret_cast<const char16_t *>(text.utf16());
    const char16_t *p = begin + from;
    const char16_t *end = begin + text.size();
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
    for (; end - p >= 8; p += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, wanted));
        if (mask != 0)
            return (p - begin) + __builtin_ctz(unsigned(mask)) / 2;
    }
#endif
    for (; p < end; ++p) {
        if (*p == c)
            return p - begin;
    }
    return -1;
}

inline bool contains(QStringView text, std::u16string_view word)
{
    const qsizetype last = text.size() - qsizetype(word.size());
    for (qsizetype at = indexOf(text, word.front()); at >= 0 && at <= last;
         at = indexOf(text, word.front(), at + 1)) {
        if (std::memcmp(text.utf16() + at, word.data(), word.size() * sizeof(char16_t)) == 0)
            return true;
    }
    return false;
}

} // namespace TextSearch
