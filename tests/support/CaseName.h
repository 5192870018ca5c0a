#pragma once
// Names of parametrised test cases that read as the case and are the same in every
// build: the case's values spelt with letters, digits and '_' only, as GoogleTest
// requires ("-3.5" -> "minus3dot5", "1,024" -> "1comma024", "150 %" -> "150_percent",
// "　" -> "U3000").

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <utility>
#include <sstream>
#include <string>
#include <string_view>

inline std::string NameWord(std::string_view text)
{
    static constexpr const char* Hex = "0123456789ABCDEF";
    std::string name;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            // A UTF-8 sequence: its code point in hexadecimal.
            const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            std::uint32_t point = byte & (0x7Fu >> length);
            for (int k = 1; k < length && i + static_cast<std::size_t>(k) < text.size(); ++k)
                point = point << 6 | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3Fu);
            name += 'U';
            for (int shift = point > 0xFFFF ? 20 : 12; shift >= 0; shift -= 4)
                name += Hex[(point >> shift) & 0xFu];
            i += static_cast<std::size_t>(length);
            continue;
        }
        const char c = text[i++];
        static constexpr std::pair<char, const char*> Spelt[] = {
            {' ', "_"},    {'-', "minus"},  {'+', "plus"},  {'.', "dot"},   {',', "comma"}, {'/', "slash"},
            {'#', "hash"}, {'$', "dollar"}, {':', "colon"}, {'?', "query"}, {'|', "bar"},   {'%', "percent"}};
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
            name += c;
            continue;
        }
        for (const auto& [character, word] : Spelt)
            if (c == character)
                name += word;
    }
    return name.empty() ? "empty" : name;
}

// The values, each as a stream prints it, joined by '_'.
template<class First, class... Rest>
std::string CaseName(const First& first, const Rest&... rest)
{
    std::ostringstream printed;
    printed << first;
    std::string name = NameWord(printed.str());
    ((name += '_' + CaseName(rest)), ...);
    return name;
}

// For cases with a PrintTo: the name is what it prints.
struct PrintedCaseName {
    template<class Param>
    std::string operator()(const testing::TestParamInfo<Param>& info) const
    {
        return NameWord(testing::PrintToString(info.param));
    }
};

// For cases that carry their own name in a member `name`.
struct OwnCaseName {
    template<class Param>
    std::string operator()(const testing::TestParamInfo<Param>& info) const
    {
        return info.param.name;
    }
};
