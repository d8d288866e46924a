#pragma once

#include <vector>

#include <QString>
#include <QStringView>

namespace jet {

// The pattern language of the query texts' `like`: `*` any run of characters, `?` one
// character, `#` one decimal digit (ASCII or Kannada), `[abc]` one of a list, `[a-z]` a range,
// `[!abc]` anything but the list; `[*]`, `[?]`, `[#]`, `[[]` stand for themselves.
// Matching is exact (case-sensitive) and works on Unicode code points. A '[' without its ']'
// or a backwards range throws JetError.
class LikePattern {
public:
    explicit LikePattern(QStringView pattern);
    bool matches(QStringView text) const;

private:
    struct Token {
        enum class Kind { Literal, Any, Digit, Star, Set };
        explicit Token(Kind k, char32_t c = 0) : kind(k), literal(c) {}
        Kind kind;
        char32_t literal;
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
    };
    bool matchesToken(const Token& token, char32_t c) const;

    std::vector<Token> m_tokens;
};

bool likeMatch(QStringView pattern, QStringView text);

} // namespace jet
